// The inquiry's answer, whatever the device sends: the model code is answer byte 9 when the
// answer begins as a frame (zero where that byte never came), zero otherwise, and nothing
// else of the machine state changes.
#include "link/inquiry.h"
#include "scripted_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornik;
  fuzz::ScriptedLink link;
  link.device.answers.emplace_back(data, data + size);
  MachineState.ModelCode = 0x5A;
  auto before = fuzz::MachineStateBytes();

  const int result = Mfp_Inquiry();

  const size_t received = std::min<size_t>(size, 10);
  const bool framed = received > 4 && data[0] == 0x1B && data[1] == 0xA4;
  FUZZ_CHECK((result != 0) == framed);
  FUZZ_CHECK(MachineState.ModelCode == (framed && received == 10 ? data[9] : 0));
  before[2] = MachineState.ModelCode;
  FUZZ_CHECK(fuzz::MachineStateBytes() == before);
  return 0;
}
