#include "link/inquiry.h"

#include "link/command_frame.h"
#include "link/debug_trace.h"
#include "link/machine_state.h"

namespace vornik {
namespace {

constexpr uint8_t kInquiryRequest[] = {0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, kOpInquiry};
constexpr size_t kInquiryAnswerSize = 10;
constexpr size_t kModelCodeOffset = 9;

}  // namespace

int Mfp_Inquiry() {
  const auto answer =
      RunExchange({.request = kInquiryRequest,
                   .title = "===> INQUIRY <===\n",
                   .waitMs = kInquiryWaitMs,
                   .answerSize = kInquiryAnswerSize,
                   .allocationFailure = "Mfp_Inquiry() - Memory Allocation error! \n"});
  if (!answer)
    return 0;
  const auto& bytes = answer->bytes;
  if (answer->received > 4 && bytes[0] == kFrameEscape && bytes[1] == kFrameClass) {
    // The length is only traced: the device's inquiry answers vary in length.
    DebugTrace("Length = %d \n", int(bytes[2] << 8 | bytes[3]));
    MachineState.ModelCode = bytes[kModelCodeOffset];  // zero-filled when not received
    return 1;
  }
  MachineState.ModelCode = 0;
  return 0;
}

}  // namespace vornik
