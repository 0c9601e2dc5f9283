#include "ctl/info_command.h"

#include <cstring>

#include "ctl/exit_status.h"
#include "link/machine_state.h"

namespace vornik::ctl {
namespace {

// A text of the record, bounded by its field: the record ends each with a terminator.
template <size_t N>
std::string Text(const char (&field)[N]) {
  return std::string(field, strnlen(field, N - 1));
}

}  // namespace

NamedValues DeviceInfoValues(const DeviceInfoRecord& info) {
  return {
      {"firmware-version", Text(info.fwVersion)},
      {"engine-version", Text(info.engineVersion)},
      {"emulation-version", Text(info.emulVersion)},
      {"free-memory", int64_t(info.freeMemory)},
      {"print-count", int64_t(info.printCount)},
      {"platen-scan-count", int64_t(info.platenScanCount)},
      {"adf-scan-count", int64_t(info.adfScanCount)},
      {"adf-jam-count", int64_t(info.adfJamCount)},
      {"print-jam-count", int64_t(info.printJamCount)},
      {"replaced-toner-count", int64_t(info.tonerCount)},
  };
}

int RunInfo(const CtlRequest& request, CtlIo& io) {
  DeviceSession session(request.port);
  if (Mfp_GetDeviceInfo() == 0)
    throw CtlFailure(kExitNotResponding, "the device did not answer the read of its information");
  NamedValues values = DeviceInfoValues(MachineState.DeviceInfo);
  // The model code the device gave in its answer to the inquiry.
  values.emplace_back("model", int64_t(MachineState.ModelCode));
  PrintValues(io.out, values, request.json);
  return kExitOk;
}

}  // namespace vornik::ctl
