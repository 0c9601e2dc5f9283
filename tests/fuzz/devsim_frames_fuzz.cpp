// The simulated device's frame parser, fed any bytes in any pieces, with time passing and
// faults coming and going in between. It never takes more than it is offered or hands out
// more than asked; without a fault that bends them its answers are whole frames; and what
// it keeps stays as the device keeps it: texts blank-padded, in-use flags matching the
// group dials.
//
// Input: a sequence of steps, each a step byte and its arguments:
//   0 write: 16-bit count, the bytes     1 read: 16-bit count
//   2 wait: ms / 50                      3 switch a fault on or off: fault number
#include <algorithm>

#include "devsim/device_model.h"
#include "fuzz_support.h"

namespace {

using namespace devsim;

bool HasNoFill(std::span<const uint8_t> field) {
  return std::none_of(field.begin(), field.end(), [](uint8_t b) { return b == 0x00 || b == 0xFF; });
}

void CheckContent(const DeviceContent& content) {
  for (const auto& text : kAdvancedTexts)
    FUZZ_CHECK(HasNoFill(std::span(content.advancedSetup).subspan(text.offset, text.width)));
  for (const auto& slot : content.phonebook) {
    FUZZ_CHECK(HasNoFill(slot.name));
    if (slot.groupFlag == 0)
      FUZZ_CHECK(HasNoFill(slot.dialData));
  }
  auto recomputed = content.phonebook;
  RecomputeInUse(recomputed);
  FUZZ_CHECK(recomputed == content.phonebook);
}

bool BendsAnswers(const DeviceModel& model) {
  return model.hasFault(Fault::kWrongClass) || model.hasFault(Fault::kZeroLength) ||
         model.hasFault(Fault::kShortAnswer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornik::fuzz::InputReader input(data, size);
  DeviceModel model;
  model.setObserver([&model](Traffic traffic, std::span<const uint8_t> bytes) {
    if (traffic != Traffic::kAnswer || BendsAnswers(model))
      return;
    FUZZ_CHECK(bytes.size() >= 4 && bytes[0] == 0x1B && (bytes[1] == 0xA4 || bytes[1] == 0xA5));
    FUZZ_CHECK(size_t(bytes[2] << 8 | bytes[3]) + 4 == bytes.size());
  });
  const auto faults = AllFaults();
  uint64_t checkedRevision = model.revision();
  uint32_t now = 0;
  std::vector<uint8_t> buffer;
  while (!input.empty()) {
    switch (input.byte() % 4) {
      case 0: {
        const auto bytes = input.take(input.be16());
        const auto result = model.write(bytes, now);
        FUZZ_CHECK(result.accepted <= bytes.size());
        if (!result.dropped && !model.hasFault(Fault::kShortWrite))
          FUZZ_CHECK(result.accepted == bytes.size());
        break;
      }
      case 1: {
        buffer.resize(input.be16());
        const auto result = model.take(buffer.data(), buffer.size(), now);
        FUZZ_CHECK(result.count <= buffer.size());
        FUZZ_CHECK(!result.dropped || result.count == 0);
        break;
      }
      case 2:
        now += input.byte() * 50u;
        model.settle(now);
        break;
      case 3: {
        const Fault fault = faults[input.byte() % faults.size()].fault;
        model.setFault(fault, !model.hasFault(fault));
        break;
      }
    }
    if (model.revision() != checkedRevision) {
      CheckContent(model.content());
      checkedRevision = model.revision();
    }
  }
  return 0;
}
