#include "settings/settings_file.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "link/machine_state.h"
#include "platform/safe_save.h"

namespace vornik {
namespace {

constexpr size_t kMagicOffset = 0;
constexpr size_t kMagicWidth = 24;
constexpr size_t kVersionOffset = 24;
constexpr size_t kVersionWidth = 8;
constexpr char kVersionText[] = "1.00";
constexpr size_t kSystemSizeOffset = 32;  // 16-bit little-endian sizes
constexpr size_t kAdvancedSizeOffset = 34;
constexpr size_t kHeaderSize = 40;
constexpr size_t kSystemOffset = kHeaderSize;
constexpr size_t kSystemBytes = system_setup_wire::kFieldBytes;
constexpr size_t kAdvancedOffset = kSystemOffset + kSystemBytes;
constexpr size_t kAdvancedBytes = advanced_setup_wire::kPayloadBytes;
static_assert(kAdvancedOffset + kAdvancedBytes == kSettingsFileSize);

// The text at `offset`, `width` bytes, must be `text` followed only by zero bytes.
bool HoldsText(const std::vector<uint8_t>& bytes, size_t offset, size_t width,
               std::string_view text) {
  for (size_t i = 0; i < width; ++i) {
    const uint8_t expected = i < text.size() ? uint8_t(text[i]) : 0;
    if (bytes[offset + i] != expected)
      return false;
  }
  return true;
}

uint16_t LittleWord(const std::vector<uint8_t>& bytes, size_t offset) {
  return uint16_t(bytes[offset] | bytes[offset + 1] << 8);
}

std::vector<uint8_t> FileBytes() {
  std::vector<uint8_t> bytes(kSettingsFileSize, 0);
  const std::string_view magic = kSettingsFileMagic;
  const std::string_view version = kVersionText;
  std::copy(magic.begin(), magic.end(), bytes.begin() + kMagicOffset);
  std::copy(version.begin(), version.end(), bytes.begin() + kVersionOffset);
  bytes[kSystemSizeOffset] = uint8_t(kSystemBytes);
  bytes[kAdvancedSizeOffset] = uint8_t(kAdvancedBytes);
  EncodeSystemSetup(MachineState.SystemSetup, bytes.data() + kSystemOffset);
  EncodeAdvancedSetup(MachineState.AdvancedSetup, bytes.data() + kAdvancedOffset);
  return bytes;
}

SettingsFileResult Load(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return SettingsFileResult::kUnreadable;
  // One byte more than a settings file holds tells a longer file apart.
  std::vector<uint8_t> bytes(kSettingsFileSize + 1, 0);
  file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  if (file.bad())
    return SettingsFileResult::kUnreadable;
  const size_t size = size_t(file.gcount());
  if (size < kHeaderSize || !HoldsText(bytes, kMagicOffset, kMagicWidth, kSettingsFileMagic))
    return SettingsFileResult::kWrongKind;
  if (!HoldsText(bytes, kVersionOffset, kVersionWidth, kVersionText))
    return SettingsFileResult::kWrongVersion;
  if (size != kSettingsFileSize || LittleWord(bytes, kSystemSizeOffset) != kSystemBytes ||
      LittleWord(bytes, kAdvancedSizeOffset) != kAdvancedBytes)
    return SettingsFileResult::kWrongSize;
  MachineState.SystemSetup = DecodeSystemSetup(bytes.data() + kSystemOffset);
  MachineState.AdvancedSetup = DecodeAdvancedSetup(bytes.data() + kAdvancedOffset);
  return SettingsFileResult::kDone;
}

}  // namespace

SettingsFileResult SettingsFileStep(const std::filesystem::path& path, SettingsFileAction action) {
  if (action == SettingsFileAction::kLoad)
    return Load(path);
  const platform::SaveOutcome saved = platform::SaveFileSafely(path, FileBytes());
  if (saved.error == 0)
    return SettingsFileResult::kDone;
  return saved.mayBeTorn ? SettingsFileResult::kMayBeTorn : SettingsFileResult::kUnwritable;
}

}  // namespace vornik
