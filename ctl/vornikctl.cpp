#include "ctl/vornikctl.h"

#include <variant>

#include "app/start_up.h"
#include "ctl/command_line.h"
#include "ctl/exit_status.h"
#include "ctl/firmware_command.h"
#include "ctl/info_command.h"
#include "ctl/phonebook_commands.h"
#include "ctl/ports_command.h"
#include "ctl/setup_commands.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"

namespace vornik::ctl {
namespace {

int Run(const CtlRequest& request, CtlIo& io) {
  switch (request.command) {
    case Command::kInfo:
      return RunInfo(request, io);
    case Command::kSettingsGet:
      return RunSettingsGet(request, io);
    case Command::kSettingsSet:
      return RunSettingsSet(request, io);
    case Command::kAdvancedGet:
      return RunAdvancedGet(request, io);
    case Command::kAdvancedSet:
      return RunAdvancedSet(request, io);
    case Command::kPhonebookGet:
      return RunPhonebookGet(request, io);
    case Command::kPhonebookPut:
      return RunPhonebookPut(request, io);
    case Command::kPhonebookExport:
      return RunPhonebookExport(request, io);
    case Command::kPhonebookImport:
      return RunPhonebookImport(request, io);
    case Command::kFirmware:
      return RunFirmware(request, io);
    case Command::kPorts:
      return RunPorts(request, io);
  }
  return kExitFailure;
}

// Gives the port back and frees the store however the command ended.
struct CleanUpAtEnd {
  ~CleanUpAtEnd() { RunCleanUp(); }
};

int RunCommandLine(const std::vector<std::string>& args, CtlIo& io) {
  const auto parsed = ParseCommandLine(args, io);
  if (const int* status = std::get_if<int>(&parsed))
    return *status;
  Connection = ConnectionState{};
  DefaultMachineState();
  CleanUpAtEnd cleanUp;
  try {
    if (!AllocatePhonebookStore())
      throw CtlFailure(kExitFailure, "no memory for the phonebook");
    return Run(std::get<CtlRequest>(parsed), io);
  } catch (const CtlFailure& failure) {
    io.say(failure.what());
    return failure.status();
  } catch (const std::exception& failure) {
    io.say(failure.what());
    return kExitFailure;
  }
}

}  // namespace

int RunVornikctl(const std::vector<std::string>& args, CtlIo& io) {
  const int status = RunCommandLine(args, io);
  // Results that never reached their reader (a full disk) are no success.
  if (status == kExitOk && !io.out.flush()) {
    io.say("cannot write the results to standard output");
    return kExitFileError;
  }
  return status;
}

}  // namespace vornik::ctl
