#include "devsim/state_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <vector>

#include "platform/private_files.h"
#include "platform/safe_save.h"

namespace devsim {
namespace {

constexpr std::string_view kHeader = "vornik-devsim state 1";
// A state file is about 15 KiB; anything much larger is not one.
constexpr uintmax_t kMaxStateFileSize = 64 * 1024;
constexpr size_t kSlotBytes = 2 + kNameWidth + kDialWidth;

// Line numbers of what the file holds, in the order it is written.
constexpr size_t kSystemSetupLine = 2;
constexpr size_t kAdvancedSetupLine = 3;
constexpr size_t kDeviceInfoLine = 4;
constexpr size_t kFirmwareLine = 5;
constexpr size_t kFirstPhonebookLine = 6;
constexpr size_t kLastLine = kFirstPhonebookLine + kPhonebookSlots - 1;

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

// A decimal number that fits 32 bits, digits only.
bool ParseNumber(const std::string& text, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  return !text.empty() && failure == std::errc() && stop == end;
}

// The line SaveState writes as line `number` (from 2, after the header), read into
// `content`; false when the line is any other.
bool ParseLine(size_t number, const std::string& line, DeviceContent& content) {
  std::istringstream in(line);
  std::string key, value, extra;
  in >> key;
  switch (number) {
    case kSystemSetupLine:
    case kAdvancedSetupLine:
    case kDeviceInfoLine: {
      if (!(in >> value) || (in >> extra))
        return false;
      if (number == kSystemSetupLine)
        return key == "system-setup" && ParseHex(value, content.systemSetup);
      if (number == kAdvancedSetupLine)
        return key == "advanced-setup" && ParseHex(value, content.advancedSetup);
      return key == "device-info" && ParseHex(value, content.deviceInfo);
    }
    case kFirmwareLine: {
      std::string images, size, checksum;
      auto& f = content.firmware;
      return key == "firmware" && (in >> images >> size >> checksum) && !(in >> extra) &&
             ParseNumber(images, f.imagesReceived) && ParseNumber(size, f.lastImageSize) &&
             ParseNumber(checksum, f.lastImageChecksum);
    }
  }
  const size_t slot = number - kFirstPhonebookLine + 1;
  std::string slotText;
  uint32_t slotRead = 0;
  uint8_t bytes[kSlotBytes];
  if (key != "phonebook" || !(in >> slotText >> value) || (in >> extra) ||
      !ParseNumber(slotText, slotRead) || slotRead != slot || !ParseHex(value, bytes))
    return false;
  auto& entry = content.phonebook[slot - 1];
  entry.groupFlag = bytes[0];
  entry.inUseFlag = bytes[1];
  std::copy_n(bytes + 2, kNameWidth, entry.name.begin());
  std::copy_n(bytes + 2 + kNameWidth, kDialWidth, entry.dialData.begin());
  return true;
}

}  // namespace

bool SaveState(const DeviceContent& content, const std::string& path, std::string& error) {
  std::ostringstream out;
  out << kHeader << '\n'
      << "system-setup " << Hex(content.systemSetup) << '\n'
      << "advanced-setup " << Hex(content.advancedSetup) << '\n'
      << "device-info " << Hex(content.deviceInfo) << '\n'
      << "firmware " << content.firmware.imagesReceived << ' ' << content.firmware.lastImageSize
      << ' ' << content.firmware.lastImageChecksum << '\n';
  for (size_t i = 0; i < content.phonebook.size(); ++i)
    out << "phonebook " << i + 1 << ' ' << Hex(SlotBytes(content.phonebook[i])) << '\n';
  const std::string text = out.str();
  // The state holds phonebook names and numbers: a new state file is made private here, and
  // the save keeps the mode of the file it replaces. One made for a save that failed goes.
  const bool created = platform::CreatePrivateFile(path) == 0;
  const platform::SaveOutcome saved =
      platform::SaveFileSafely(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  if (saved.error != 0) {
    error = "cannot save " + path + ": " + platform::SaveFailureText(saved);
    std::error_code ignored;
    if (created)
      std::filesystem::remove(path, ignored);
  }
  return saved.error == 0;
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
  size_t number = kSystemSetupLine;
  for (; std::getline(in, line); ++number) {
    if (number > kLastLine || !ParseLine(number, line, loaded)) {
      error = path + ": line " + std::to_string(number) + " is damaged";
      return LoadResult::kBad;
    }
  }
  if (number <= kLastLine) {  // a file cut short, even at the end of a line
    error = path + ": line " + std::to_string(number) + " is missing";
    return LoadResult::kBad;
  }
  content = loaded;
  return LoadResult::kLoaded;
}

}  // namespace devsim
