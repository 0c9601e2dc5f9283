// The settings file (.STF): the device's system setup and advanced setup as the device sends
// them, behind a header of the phonebook file's family. 135 bytes, nothing after them.
//
//   offset 0   24  "ZRV FAX-RCP Settings", then zero bytes     (file kind)
//          24  8   "1.00", then zero bytes                     (layout version)
//          32  2   22, 16-bit little-endian                    (system setup bytes)
//          34  2   73, 16-bit little-endian                    (advanced setup bytes)
//          36  4   zero
//          40  22  `SystemSetup` in wire order (words high byte first)
//          62  73  `AdvancedSetup` payload (texts NUL-padded, years high byte first)
#pragma once

#include <cstddef>
#include <filesystem>

namespace vornik {

inline constexpr char kSettingsFileMagic[] = "ZRV FAX-RCP Settings";
inline constexpr size_t kSettingsFileSize = 135;

enum class SettingsFileAction { kLoad, kSave };

enum class SettingsFileResult {
  kDone,
  kUnreadable,    // the file cannot be opened or read
  kWrongKind,     // its header does not name a settings file
  kWrongVersion,  // a settings file of another layout version
  kWrongSize,     // a settings file cut short, or with more than the two records
  kUnwritable,    // the file cannot be written (see `platform::SaveFileSafely`)
  kMayBeTorn,     // the file, rewritten in place, failed part way and may now be damaged
};

// Loads both records from the file, or saves both into it. A load takes both records or
// neither: any file it refuses leaves `MachineState` as it was. A save goes through
// `platform::SaveFileSafely`, so a failed save leaves the previous file whole unless it says
// kMayBeTorn.
SettingsFileResult SettingsFileStep(const std::filesystem::path& path, SettingsFileAction action);

}  // namespace vornik
