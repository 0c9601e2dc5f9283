// The advanced setup answer (Mfp_GetSystemInfo), whatever the device sends: only a whole
// answer to the read is decoded, and then the record holds its payload with each text cut at its
// first NUL and each toll-saver time clamped; anything else leaves the machine state as it was.
// Apply then sends back exactly what was kept, and the page's fill and commit keep every
// text within its field.
#include <algorithm>
#include <cstring>

#include "advanced_payload_form.h"
#include "scripted_link.h"
#include "settings/advanced_page_values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornik;
  namespace wire = advanced_setup_wire;
  fuzz::ScriptedLink link;
  if (!fuzz::ReadsOnlyWholeAnswers(link, Mfp_GetSystemInfo, kRecordAdvancedSetup, {data, size},
                                   wire::kGetAnswerSize))
    return 0;
  AdvancedSetupRecord& record = MachineState.AdvancedSetup;
  const auto kept = fuzz::AdvancedPayloadAsKept(data + wire::kGetAnswerPayload);
  FUZZ_CHECK(fuzz::EncodedAdvanced(record) == kept);
  FUZZ_CHECK(record.machineNumber[kMachineNumberWidth] == 0 &&
             record.machineId[kMachineIdWidth] == 0 && record.prefixDial[kPrefixDialWidth] == 0);

  link.device.answers.push_back({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC2, 0x40, 0x00});
  FUZZ_CHECK(Mfp_SetSystemInfo() == 1);
  const auto& request = link.device.writes.back();
  FUZZ_CHECK(request.size() == wire::kSetRequestSize);
  FUZZ_CHECK(std::equal(kept.begin(), kept.end(), request.begin() + wire::kSetRequestPayload));

  AdvancedPageValues values;
  FillPageValues(record, values);
  CommitPageValues(values, record);
  FUZZ_CHECK(values.machineNumber.size() <= kMachineNumberWidth &&
             values.machineId.size() <= kMachineIdWidth &&
             values.prefixDial.size() <= kPrefixDialWidth);
  FUZZ_CHECK(std::strlen(record.machineNumber) <= kMachineNumberWidth &&
             std::strlen(record.machineId) <= kMachineIdWidth &&
             std::strlen(record.prefixDial) <= kPrefixDialWidth);
  return 0;
}
