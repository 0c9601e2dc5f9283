// The system setup answer (Mfp_GetSettings), whatever the device sends: only a whole answer
// to the read is decoded, and then its field bytes encode back exactly; anything else leaves the
// machine state as it was. Whatever was decoded, the Settings page's clamping keeps every number
// field in its range, and the record then holds exactly what the page shows.
#include "scripted_link.h"
#include "settings/settings_page_values.h"
#include "settings/system_setup.h"

namespace {

using namespace vornik;

std::vector<uint8_t> FieldBytes(const SystemSetupRecord& record) {
  std::vector<uint8_t> bytes(system_setup_wire::kFieldBytes);
  EncodeSystemSetup(record, bytes.data());
  return bytes;
}

void CheckClamping(const SystemSetupRecord& decoded) {
  auto values = PageValuesFromRecord(decoded);
  SystemSetupRecord record = decoded;
  const bool corrected = ClampPageNumbers(values, record);
  for (size_t i = 0; i < kSettingsNumberCount; ++i) {
    const int value = ParseLeadingDigits(values.numbers[i]);
    const NumberRange range = RangeOf(SettingsNumber(i));
    FUZZ_CHECK(value >= range.lower && value <= range.upper);
  }
  FUZZ_CHECK(PageValuesFromRecord(record).numbers == values.numbers);
  if (!corrected)
    FUZZ_CHECK(FieldBytes(record) == FieldBytes(decoded));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace wire = system_setup_wire;
  fuzz::ScriptedLink link;
  if (fuzz::ReadsOnlyWholeAnswers(link, Mfp_GetSettings, kRecordSystemSetup, {data, size},
                                  wire::kGetAnswerSize)) {
    const std::vector<uint8_t> sent(data + wire::kGetAnswerFields, data + wire::kGetAnswerSize);
    FUZZ_CHECK(FieldBytes(MachineState.SystemSetup) == sent);
  }
  CheckClamping(MachineState.SystemSetup);
  return 0;
}
