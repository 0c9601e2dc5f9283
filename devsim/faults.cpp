#include "devsim/faults.h"

namespace devsim {
namespace {

constexpr FaultInfo kFaults[] = {
    {Fault::kSilent, "silent", "takes every byte and never answers"},
    {Fault::kBusy, "busy", "refuses every open, as a device held by another program"},
    {Fault::kShortAnswer, "short-answer", "sends only the first half of every answer"},
    {Fault::kWrongClass, "wrong-class", "answers carry a wrong class byte"},
    {Fault::kZeroLength, "zero-length", "answers carry a length field of 0"},
    {Fault::kLateAnswer, "late-answer", "answers become ready only 2 s after the request"},
    {Fault::kShortWrite, "short-write", "every write takes only half of the bytes offered"},
    {Fault::kDropTransfer, "drop-transfer",
     "the link drops halfway through a phonebook or firmware transfer"},
    {Fault::kWrongModel, "wrong-model", "the inquiry reports model code 3"},
};

}  // namespace

std::span<const FaultInfo> AllFaults() {
  return kFaults;
}

std::optional<Fault> FaultByName(std::string_view name) {
  for (const auto& info : kFaults)
    if (info.name == name)
      return info.fault;
  return std::nullopt;
}

}  // namespace devsim
