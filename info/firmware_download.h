// The firmware download: an announce frame, then the image file's bytes in blocks of 4096,
// sent unchanged. The page drives it and shows its progress through `FirmwareProgress`.
//
//   common connection (USB, parallel port as a file), through PortWrite and PortRead:
//     announce 1B A5 00 04 50 E0 82 05, 500 ms, 9-byte answer starting with 1B
//     (none: 6000 ms, the announce again, 500 ms, any 9 bytes)
//   ECP driver device, on one handle held for the whole download:
//     the three control requests, announce 1B A5 00 04 40 E0 82 05, no answer
//   then, either way: 5000 ms, the blocks, 40000 ms while the device writes the image
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vornik {

inline constexpr size_t kFirmwareBlockSize = 4096;

// Pauses of the download, in milliseconds.
inline constexpr uint32_t kAfterAnnounceMs = 500;
inline constexpr uint32_t kBeforeRepeatedAnnounceMs = 6000;
inline constexpr uint32_t kBeforeFirstBlockMs = 5000;
inline constexpr uint32_t kAfterShortWriteMs = 1000;
inline constexpr uint32_t kAfterLastBlockMs = 40000;

// The size of the image file in bytes; nullopt when `path` is not a regular file that can
// be opened for reading.
std::optional<uint64_t> FirmwareFileSize(const std::string& path);

// What the download tells its page as it goes.
class FirmwareProgress {
 public:
  virtual ~FirmwareProgress() = default;
  // The device took the announce: the progress starts at 0 of 0 to 100.
  virtual void transferStarting() = 0;
  // A block went out whole: `sent` bytes of the file so far, `percent` of its size.
  virtual void blockSent(uint64_t sent, int percent) = 0;
  // Every byte went out; the device now writes the image (the last pause follows).
  virtual void writingComplete() = 0;
  // Holds the download for `ms` (`platform::SleepInSlices`).
  virtual void pause(uint32_t ms);
};

enum class FirmwareResult {
  kFileNotOpened,  // the file cannot be opened: nothing was sent
  kFailed,         // the announce, its answer, the port, a block or the file failed
  kCompleted,      // every byte went out and the last pause is over
};

// The download over the selected common connection.
FirmwareResult DownloadFirmware(const std::string& path, FirmwareProgress& progress);

// The download on the ECP driver device (`PortKind` 4).
FirmwareResult DownloadFirmwareEcp(const std::string& path, FirmwareProgress& progress);

}  // namespace vornik
