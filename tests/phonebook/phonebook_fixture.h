// A phonebook test: the link test's fake platform and scripted device on the ECP port,
// and the store allocated as start-up allocates it.
#pragma once

#include <cstring>
#include <string_view>
#include <vector>

#include "link/connection.h"
#include "phonebook/phonebook_store.h"
#include "tests/link/link_fixture.h"

namespace vornik::test {

class PhonebookTest : public LinkTest {
 protected:
  PhonebookTest() {
    usePort(kPortEcp1);
    EXPECT_TRUE(AllocatePhonebookStore());
  }
  ~PhonebookTest() override { FreePhonebookStore(); }

  PhonebookEntry& entry(size_t index) { return PhonebookStore.entries.at(index); }

  // The whole entry table as bytes.
  static std::vector<uint8_t> TableBytes() {
    const auto* bytes = reinterpret_cast<const uint8_t*>(PhonebookStore.entries.data());
    return {bytes, bytes + PhonebookStore.entries.size() * sizeof(PhonebookEntry)};
  }
};

// `text`, then `fill` up to `width` bytes.
inline std::vector<uint8_t> Padded(std::string_view text, size_t width, uint8_t fill) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.resize(width, fill);
  return bytes;
}

inline void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace vornik::test
