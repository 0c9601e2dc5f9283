#include "phonebook/phonebook_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"
#include "platform/safe_save.h"

namespace vornik {
namespace {

constexpr size_t kMagicOffset = 0;
constexpr size_t kVersionOffset = 24;
constexpr char kVersionText[] = "1.00";
constexpr size_t kValue20Offset = 32;  // 16-bit little-endian values
constexpr size_t kValue80Offset = 34;

constexpr std::array<uint8_t, kPhonebookFileHeaderSize> MakePhonebookFileHeader() {
  std::array<uint8_t, kPhonebookFileHeaderSize> header{};  // zero where nothing is put
  const std::string_view magic = kPhonebookFileMagic;
  const std::string_view version = kVersionText;
  for (size_t i = 0; i < magic.size(); ++i)
    header[kMagicOffset + i] = uint8_t(magic[i]);
  for (size_t i = 0; i < version.size(); ++i)
    header[kVersionOffset + i] = uint8_t(version[i]);
  header[kValue20Offset] = 20;
  header[kValue80Offset] = 80;
  return header;
}

constexpr auto kPhonebookFileHeader = MakePhonebookFileHeader();

}  // namespace

uint64_t PhonebookFileSize() {
  return kPhonebookFileHeaderSize + uint64_t(sizeof(PhonebookEntry)) * PhonebookEntryCount();
}

int WritePhonebookFile(const std::filesystem::path& path, bool* mayBeTorn) {
  if (!PhonebookStoreReady())
    return 0;
  const auto& entries = PhonebookStore.entries;
  std::vector<uint8_t> bytes(kPhonebookFileHeader.begin(), kPhonebookFileHeader.end());
  const auto* table = reinterpret_cast<const uint8_t*>(entries.data());
  bytes.insert(bytes.end(), table, table + entries.size() * sizeof(PhonebookEntry));
  const platform::SaveOutcome saved = platform::SaveFileSafely(path, bytes);
  if (mayBeTorn != nullptr)
    *mayBeTorn = saved.mayBeTorn;
  return saved.error == 0 ? 1 : 0;
}

int ReadPhonebookFile(const std::filesystem::path& path) {
  if (!PhonebookStoreReady())
    return 0;
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return 0;
  char header[kPhonebookFileHeaderSize] = {};  // a short file leaves zeros
  file.read(header, sizeof header);
  const std::string_view text(header,
                              size_t(std::find(header, header + sizeof header, '\0') - header));
  if (text != kPhonebookFileMagic)
    return 0;

  // Only a whole table is taken: part of one would leave entries half the file's and half
  // the store's, and the next Write would send them.
  auto& entries = PhonebookStore.entries;
  std::vector<char> table(entries.size() * sizeof(PhonebookEntry));
  file.read(table.data(), std::streamsize(table.size()));
  if (file.bad() || size_t(file.gcount()) != table.size())
    return 0;
  if (!table.empty())  // a store without entries has no table to copy into
    std::memcpy(entries.data(), table.data(), table.size());
  return 1;
}

}  // namespace vornik
