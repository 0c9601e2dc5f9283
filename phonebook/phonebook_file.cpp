#include "phonebook/phonebook_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "phonebook/phonebook_store.h"

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

constexpr const char* kSaveSuffix = ".~save";

// A save writes a new file and renames it over the target, which needs no right to the
// target itself: without this check a file the user made read-only would be replaced.
bool ExistingFileWritable(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error))
    return !error;
  return std::ofstream(path, std::ios::binary | std::ios::app).is_open();
}

bool WriteWhole(const std::filesystem::path& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file)
    return false;
  const auto& entries = PhonebookStore.entries;
  file.write(reinterpret_cast<const char*>(kPhonebookFileHeader.data()),
             std::streamsize(kPhonebookFileHeader.size()));
  file.write(reinterpret_cast<const char*>(entries.data()),
             std::streamsize(entries.size() * sizeof(PhonebookEntry)));
  file.flush();
  const bool written = file.good();
  file.close();
  return written && !file.fail();
}

// The file a save replaces: a link is saved through, so the link stays and the file it
// names gets the new content.
std::filesystem::path SaveTarget(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error))
    return path;
  const auto linked = std::filesystem::canonical(path, error);
  return error ? path : linked;
}

}  // namespace

int WritePhonebookFile(const std::filesystem::path& path) {
  if (!PhonebookStoreReady() || !ExistingFileWritable(path))
    return 0;
  const std::filesystem::path target = SaveTarget(path);
  std::filesystem::path temporary = target;
  temporary += kSaveSuffix;
  std::error_code error;
  if (!WriteWhole(temporary)) {
    std::filesystem::remove(temporary, error);
    return 0;
  }
  // The new file takes the permissions of the one it replaces: a private file stays private.
  const auto previous = std::filesystem::status(target, error);
  if (!error && std::filesystem::exists(previous))
    std::filesystem::permissions(temporary, previous.permissions(), error);
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return 0;
  }
  return 1;
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

  auto& entries = PhonebookStore.entries;
  std::vector<char> table(entries.size() * sizeof(PhonebookEntry));
  file.read(table.data(), std::streamsize(table.size()));
  if (file.bad())
    return 0;
  if (file.gcount() > 0)  // a store without entries has no table to copy into
    std::memcpy(entries.data(), table.data(), size_t(file.gcount()));
  return 1;
}

}  // namespace vornik
