// The failures the simulated device can be told to show, each chosen on its own.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace devsim {

enum class Fault {
  kSilent,        // takes every byte and never answers
  kBusy,          // refuses every open
  kShortAnswer,   // sends only the first half of every answer
  kWrongClass,    // answers carry a wrong class byte
  kZeroLength,    // answers carry a length field of 0
  kLateAnswer,    // answers become ready only 2 s after the request
  kShortWrite,    // every write takes only half of the bytes offered
  kDropTransfer,  // the link drops halfway through a phonebook or firmware transfer
  kWrongModel,    // the inquiry reports another model
};

struct FaultInfo {
  Fault fault;
  std::string_view name;  // as given to --fault
  std::string_view help;
};

// Every fault, in the order of the enumeration.
std::span<const FaultInfo> AllFaults();

std::optional<Fault> FaultByName(std::string_view name);

}  // namespace devsim
