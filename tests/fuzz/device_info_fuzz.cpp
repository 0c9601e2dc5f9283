// The device information answer (Mfp_GetDeviceInfo), whatever the device sends: only a whole
// answer to the read is decoded, and then every counter is its four bytes, high first, and every
// text is its field up to the first NUL, ending inside the record; anything else leaves the machine
// state as it was.
#include <cstring>
#include <string_view>

#include "scripted_link.h"

namespace {

using namespace vornik;

template <size_t N>
bool HoldsText(const char (&field)[N], const uint8_t* raw) {
  const auto* text = reinterpret_cast<const char*>(raw);
  return field[N - 1] == 0 &&
         std::string_view(field) == std::string_view(text, strnlen(text, N - 1));
}

uint32_t BigLong(const uint8_t* at) {
  return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace wire = device_info_wire;
  fuzz::ScriptedLink link;
  if (!fuzz::ReadsOnlyWholeAnswers(link, Mfp_GetDeviceInfo, kRecordDeviceInfo, {data, size},
                                   wire::kGetAnswerSize))
    return 0;
  const uint8_t* p = data + wire::kGetAnswerFields;
  const DeviceInfoRecord& info = MachineState.DeviceInfo;
  FUZZ_CHECK(info.freeMemory == p[wire::kFreeMemory]);
  FUZZ_CHECK(info.platenScanCount == BigLong(p + wire::kPlatenScanCount) &&
             info.adfScanCount == BigLong(p + wire::kAdfScanCount) &&
             info.printCount == BigLong(p + wire::kPrintCount) &&
             info.tonerCount == BigLong(p + wire::kTonerCount) &&
             info.adfJamCount == BigLong(p + wire::kAdfJamCount) &&
             info.printJamCount == BigLong(p + wire::kPrintJamCount));
  FUZZ_CHECK(HoldsText(info.fwVersion, p + wire::kFwVersion) &&
             HoldsText(info.engineVersion, p + wire::kEngineVersion) &&
             HoldsText(info.emulVersion, p + wire::kEmulVersion) &&
             HoldsText(info.extraText, p + wire::kExtraText));
  return 0;
}
