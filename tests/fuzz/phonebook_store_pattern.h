// A phonebook store for the phonebook fuzz targets: sized from the input, every byte of it
// set to a pattern first, so that whatever a command must not touch can be seen unchanged.
#pragma once

#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"

namespace vornik::fuzz {

class PatternedStore {
 public:
  PatternedStore(uint8_t speedDials, uint8_t oneTouchKeys) {
    MachineState.SpeedDialCount = speedDials;
    MachineState.OneTouchCount = oneTouchKeys;
    FUZZ_CHECK(AllocatePhonebookStore());
    auto* bytes = reinterpret_cast<uint8_t*>(PhonebookStore.entries.data());
    for (size_t i = 0; i < PhonebookStore.entries.size() * sizeof(PhonebookEntry); ++i)
      bytes[i] = uint8_t(i * 7 + 3);
    for (size_t i = 0; i < PhonebookStore.ReferenceCounts.size(); ++i)
      PhonebookStore.ReferenceCounts[i] = uint8_t(i);
  }
  ~PatternedStore() { FreePhonebookStore(); }
  PatternedStore(const PatternedStore&) = delete;
  PatternedStore& operator=(const PatternedStore&) = delete;

  // The entry table as bytes.
  static std::vector<uint8_t> Table() {
    const auto* bytes = reinterpret_cast<const uint8_t*>(PhonebookStore.entries.data());
    return {bytes, bytes + PhonebookStore.entries.size() * sizeof(PhonebookEntry)};
  }
};

}  // namespace vornik::fuzz
