#include "ctl/setup_commands.h"

#include <utility>
#include <vector>

#include "ctl/exit_status.h"
#include "ctl/field_output.h"
#include "ctl/setup_fields.h"
#include "link/machine_state.h"

namespace vornik::ctl {
namespace {

template <typename Record>
struct SetupRecord {
  const char* what;  // "settings": how messages name the record
  Record& record;
  int (*read)();
  int (*write)();
  const std::vector<SetupField<Record>>& fields;
};

SetupRecord<SystemSetupRecord> Settings() {
  return {"settings", MachineState.SystemSetup, Mfp_GetSettings, Mfp_SetSettings, SettingsFields()};
}

SetupRecord<AdvancedSetupRecord> Advanced() {
  return {"advanced settings", MachineState.AdvancedSetup, Mfp_GetSystemInfo, Mfp_SetSystemInfo,
          AdvancedFields()};
}

template <typename Record>
void ReadRecord(const SetupRecord<Record>& setup, const char* consequence) {
  if (setup.read() == 0)
    throw CtlFailure(kExitNotResponding, std::string("the device did not answer the read of its ") +
                                             setup.what + consequence);
}

template <typename Record>
int RunGet(const SetupRecord<Record>& setup, const CtlRequest& request, CtlIo& io) {
  DeviceSession session(request.port);
  session.requireSetupModel(setup.what);
  ReadRecord(setup, "");
  NamedValues values;
  for (const auto& field : setup.fields)
    values.emplace_back(field.name, field.show(setup.record));
  PrintValues(io.out, values, request.json);
  return kExitOk;
}

template <typename Record>
using Change = std::pair<const SetupField<Record>*, std::string>;

// Every field=value, each value tried on a scratch record. Any refusal is said on `io.err`
// and refuses them all.
template <typename Record>
std::vector<Change<Record>> CheckedChanges(const SetupRecord<Record>& setup,
                                           const std::vector<std::string>& assignments, CtlIo& io) {
  std::vector<Change<Record>> changes;
  std::vector<std::string> refusals;
  Record scratch = setup.record;
  for (const std::string& assignment : assignments) {
    const size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const SetupField<Record>* field = nullptr;
    for (const auto& candidate : setup.fields)
      if (candidate.name == name)
        field = &candidate;
    if (equals == std::string::npos) {
      refusals.push_back("\"" + assignment + "\" is not field=value");
    } else if (field == nullptr) {
      refusals.push_back("the " + std::string(setup.what) + " have no field \"" + name + "\"");
    } else if (!field->take) {
      refusals.push_back(name + " is shown only: the page keeps it as the device has it");
    } else if (std::any_of(changes.begin(), changes.end(),
                           [&](const auto& change) { return change.first == field; })) {
      refusals.push_back(name + " is named twice");
    } else if (auto refusal = field->take(assignment.substr(equals + 1), scratch)) {
      refusals.push_back(*refusal);
    } else {
      changes.emplace_back(field, assignment.substr(equals + 1));
    }
  }
  if (changes.empty() && refusals.empty())
    refusals.push_back("name at least one field=value");
  for (const std::string& refusal : refusals)
    io.say(refusal);
  if (!refusals.empty())
    throw CtlFailure(kExitBadInput, "nothing was sent (see --help for the fields and values)");
  return changes;
}

template <typename Record>
int RunSet(const SetupRecord<Record>& setup, const CtlRequest& request, CtlIo& io) {
  const auto changes = CheckedChanges(setup, request.assignments, io);
  DeviceSession session(request.port);
  session.requireSetupModel(setup.what);
  ReadRecord(setup, "; nothing was sent");
  for (const auto& [field, value] : changes)
    field->take(value, setup.record);
  if (setup.write() == 0)
    throw CtlFailure(kExitNotResponding,
                     std::string("the device did not take the new ") + setup.what);
  return kExitOk;
}

template <typename Record>
std::string FieldHelp(const std::vector<SetupField<Record>>& fields) {
  size_t column = 0;
  for (const auto& field : fields)
    column = std::max(column, field.name.size());
  std::string help = "Fields:\n";
  for (const auto& field : fields)
    help +=
        "  " + field.name + std::string(column + 2 - field.name.size(), ' ') + field.accepts + "\n";
  return help;
}

}  // namespace

int RunSettingsGet(const CtlRequest& request, CtlIo& io) {
  return RunGet(Settings(), request, io);
}

int RunAdvancedGet(const CtlRequest& request, CtlIo& io) {
  return RunGet(Advanced(), request, io);
}

int RunSettingsSet(const CtlRequest& request, CtlIo& io) {
  return RunSet(Settings(), request, io);
}

int RunAdvancedSet(const CtlRequest& request, CtlIo& io) {
  return RunSet(Advanced(), request, io);
}

std::string SettingsFieldHelp() {
  return FieldHelp(SettingsFields());
}

std::string AdvancedFieldHelp() {
  return FieldHelp(AdvancedFields());
}

}  // namespace vornik::ctl
