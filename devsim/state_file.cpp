#include "devsim/state_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <vector>

namespace devsim {
namespace {

constexpr std::string_view kHeader = "vornik-devsim state 1";
// A state file is about 15 KiB; anything much larger is not one.
constexpr uintmax_t kMaxStateFileSize = 64 * 1024;
constexpr size_t kSlotBytes = 2 + kNameWidth + kDialWidth;

std::string Hex(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// Exactly `out.size()` bytes of hex, nothing else.
bool ParseHex(const std::string& text, std::span<uint8_t> out) {
  if (text.size() != out.size() * 2)
    return false;
  for (size_t i = 0; i < out.size(); ++i) {
    const int high = HexDigit(text[2 * i]), low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0)
      return false;
    out[i] = uint8_t(high << 4 | low);
  }
  return true;
}

std::vector<uint8_t> SlotBytes(const PhonebookSlot& slot) {
  std::vector<uint8_t> bytes = {slot.groupFlag, slot.inUseFlag};
  bytes.insert(bytes.end(), slot.name.begin(), slot.name.end());
  bytes.insert(bytes.end(), slot.dialData.begin(), slot.dialData.end());
  return bytes;
}

// One line after the header; false when it is not a line SaveState writes.
bool ParseLine(const std::string& line, DeviceContent& content) {
  std::istringstream in(line);
  std::string key, value, extra;
  in >> key;
  if (key == "system-setup" || key == "advanced-setup" || key == "device-info") {
    if (!(in >> value) || (in >> extra))
      return false;
    if (key == "system-setup")
      return ParseHex(value, content.systemSetup);
    if (key == "advanced-setup")
      return ParseHex(value, content.advancedSetup);
    return ParseHex(value, content.deviceInfo);
  }
  if (key == "firmware") {
    auto& f = content.firmware;
    return bool(in >> f.imagesReceived >> f.lastImageSize >> f.lastImageChecksum) && !(in >> extra);
  }
  if (key == "phonebook") {
    unsigned slot = 0;
    if (!(in >> slot >> value) || (in >> extra) || slot < 1 || slot > kPhonebookSlots)
      return false;
    uint8_t bytes[kSlotBytes];
    if (!ParseHex(value, bytes))
      return false;
    auto& entry = content.phonebook[slot - 1];
    entry.groupFlag = bytes[0];
    entry.inUseFlag = bytes[1];
    std::copy_n(bytes + 2, kNameWidth, entry.name.begin());
    std::copy_n(bytes + 2 + kNameWidth, kDialWidth, entry.dialData.begin());
    return true;
  }
  return false;
}

}  // namespace

bool SaveState(const DeviceContent& content, const std::string& path, std::string& error) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << kHeader << '\n'
        << "system-setup " << Hex(content.systemSetup) << '\n'
        << "advanced-setup " << Hex(content.advancedSetup) << '\n'
        << "device-info " << Hex(content.deviceInfo) << '\n'
        << "firmware " << content.firmware.imagesReceived << ' ' << content.firmware.lastImageSize
        << ' ' << content.firmware.lastImageChecksum << '\n';
    for (size_t i = 0; i < content.phonebook.size(); ++i)
      out << "phonebook " << i + 1 << ' ' << Hex(SlotBytes(content.phonebook[i])) << '\n';
    out.flush();
    if (!out) {
      error = "cannot write " + temporary;
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code failure;
  std::filesystem::rename(temporary, path, failure);
  if (failure) {
    error = "cannot replace " + path + ": " + failure.message();
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

LoadResult LoadState(const std::string& path, DeviceContent& content, std::string& error) {
  std::error_code failure;
  if (!std::filesystem::exists(path, failure))
    return LoadResult::kMissing;
  const auto size = std::filesystem::file_size(path, failure);
  if (failure || size > kMaxStateFileSize) {
    error = path + ": not a state file";
    return LoadResult::kBad;
  }
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) {
    error = path + ": not a state file";
    return LoadResult::kBad;
  }
  DeviceContent loaded = content;
  for (int number = 2; std::getline(in, line); ++number) {
    if (!ParseLine(line, loaded)) {
      error = path + ": line " + std::to_string(number) + " is damaged";
      return LoadResult::kBad;
    }
  }
  content = loaded;
  return LoadResult::kLoaded;
}

}  // namespace devsim
