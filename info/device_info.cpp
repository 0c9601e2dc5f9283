#include "info/device_info.h"

#include <cstring>

#include "link/command_frame.h"
#include "link/debug_trace.h"
#include "link/machine_state.h"

namespace vornik {
namespace {

namespace wire = device_info_wire;

constexpr uint8_t kGetDeviceInfoRequest[] = {
    0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, kOpReadRecord, kRecordDeviceInfo};

uint32_t GetLong(const uint8_t* at) {
  return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

// Clears the whole field, terminator included, then copies the wire bytes: a text that
// fills its width still ends inside the field.
template <size_t N>
void CopyText(char (&field)[N], const uint8_t* at) {
  std::memset(field, 0, N);
  std::memcpy(field, at, N - 1);
}

}  // namespace

DeviceInfoRecord DecodeDeviceInfo(const uint8_t* p) {
  DeviceInfoRecord r{};
  r.freeMemory = p[wire::kFreeMemory];
  r.platenScanCount = GetLong(p + wire::kPlatenScanCount);
  r.adfScanCount = GetLong(p + wire::kAdfScanCount);
  r.printCount = GetLong(p + wire::kPrintCount);
  r.tonerCount = GetLong(p + wire::kTonerCount);
  r.adfJamCount = GetLong(p + wire::kAdfJamCount);
  r.printJamCount = GetLong(p + wire::kPrintJamCount);
  CopyText(r.fwVersion, p + wire::kFwVersion);
  CopyText(r.engineVersion, p + wire::kEngineVersion);
  CopyText(r.emulVersion, p + wire::kEmulVersion);
  CopyText(r.extraText, p + wire::kExtraText);
  return r;
}

int Mfp_GetDeviceInfo() {
  const auto answer =
      RunExchange({.request = kGetDeviceInfoRequest,
                   .title = "===> (Get Adv-Settings) SYSTEM STATUS <===\n",
                   .waitMs = kGetDeviceInfoWaitMs,
                   .answerSize = wire::kGetAnswerSize,
                   .answerTrace = AnswerTrace::kSizeAndDumpAll,
                   .allocationFailure = "Mfp_GetSystemInfo() - Memory Allocation error! \n"});
  if (!answer)
    return 0;
  // A short answer would show zeros for counters that never arrived.
  if (!IsWholeAnswer(*answer, kGetDeviceInfoRequest))
    return 0;
  MachineState.DeviceInfo = DecodeDeviceInfo(answer->bytes.data() + wire::kGetAnswerFields);
  MachineState.DeviceInfoRead = true;
  return 1;
}

}  // namespace vornik
