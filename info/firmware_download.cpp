#include "info/firmware_download.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <vector>

#include "link/command_frame.h"
#include "link/connection.h"
#include "link/debug_trace.h"
#include "link/port_io.h"
#include "platform/platform.h"

namespace vornik {
namespace {

constexpr uint8_t kAnnounce[] = {0x1B, 0xA5, 0x00, 0x04, 0x50, 0xE0, 0x82, kOpFirmwareDownload};
constexpr uint8_t kEcpAnnounce[] = {0x1B, 0xA5, 0x00, 0x04, 0x40, 0xE0, 0x82, kOpFirmwareDownload};
constexpr size_t kAnnounceAnswerSize = 9;

// What the ECP driver device is set to before the image: method, mode, direction.
constexpr uint8_t kEcpMethod[] = {0x00};
constexpr uint8_t kEcpMode[] = {0x10};
constexpr uint8_t kEcpDirection[] = {0x01, 0x00, 0x00, 0x00};  // 1, little-endian

using BlockWriter = std::function<size_t(const uint8_t*, size_t)>;
using TransferBuffer = std::vector<uint8_t>;

// A FIFO or a device would block the open or never end: only a regular file is an image.
std::optional<std::ifstream> OpenImage(const std::string& path) {
  std::error_code failure;
  if (!std::filesystem::is_regular_file(path, failure))
    return std::nullopt;
  // Unbuffered: every block is read from the file as it is then, not from a read-ahead.
  std::ifstream image;
  image.rdbuf()->pubsetbuf(nullptr, 0);
  image.open(path, std::ios::binary);
  if (!image)
    return std::nullopt;
  return image;
}

uint64_t ImageSize(std::ifstream& image) {
  image.seekg(0, std::ios::end);
  const std::streamoff end = image.tellg();
  image.seekg(0, std::ios::beg);
  return end > 0 ? uint64_t(end) : 0;
}

std::optional<TransferBuffer> ObtainBuffer() {
  try {
    return TransferBuffer(kFirmwareBlockSize, 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool WriteAnnounce() {
  return PortWrite(kAnnounce, sizeof kAnnounce) >= sizeof kAnnounce;
}

// The device answers the announce with 9 bytes starting with an escape. A device that did
// not answer gets the announce once more, and then any 9 bytes will do.
bool Announce(TransferBuffer& buffer, FirmwareProgress& progress) {
  if (!WriteAnnounce())
    return false;
  progress.pause(kAfterAnnounceMs);
  if (PortRead(buffer.data(), kAnnounceAnswerSize) == kAnnounceAnswerSize &&
      buffer[0] == kFrameEscape)
    return true;
  DebugTrace("FwUp: Failed to read response ");
  progress.pause(kBeforeRepeatedAnnounceMs);
  if (!WriteAnnounce())
    return false;
  progress.pause(kAfterAnnounceMs);
  return PortRead(buffer.data(), kAnnounceAnswerSize) >= kAnnounceAnswerSize;
}

// A device that takes part of a block gets the rest after a pause, and once more after
// another pause when that write took nothing.
bool WriteBlock(const BlockWriter& write, const uint8_t* block, size_t count,
                FirmwareProgress& progress) {
  const size_t written = std::min(write(block, count), count);
  if (written == count)
    return true;
  DebugTrace("FwUp: Data written - %d ", int(written));
  const size_t rest = count - written;
  progress.pause(kAfterShortWriteMs);
  size_t last = std::min(write(block + written, rest), rest);
  if (last < 1) {
    progress.pause(kAfterShortWriteMs);
    last = std::min(write(block + written, rest), rest);
  }
  return last == rest;
}

// The size is taken once, and no block reaches past it: a file that grows meanwhile still
// goes as the size it had, and one that shrinks or cannot be read ends the download
// instead of sending empty blocks for ever.
FirmwareResult SendImage(std::ifstream& image, const BlockWriter& write, TransferBuffer& buffer,
                         FirmwareProgress& progress) {
  const uint64_t size = ImageSize(image);
  progress.transferStarting();
  progress.pause(kBeforeFirstBlockMs);
  uint64_t sent = 0;
  while (sent < size) {
    const size_t wanted = size_t(std::min<uint64_t>(buffer.size(), size - sent));
    image.read(reinterpret_cast<char*>(buffer.data()), std::streamsize(wanted));
    const size_t count = size_t(std::max<std::streamsize>(image.gcount(), 0));
    if (count == 0) {
      DebugTrace("FwUp: File ended at %llu of %llu bytes ", static_cast<unsigned long long>(sent),
                 static_cast<unsigned long long>(size));
      return FirmwareResult::kFailed;
    }
    if (!WriteBlock(write, buffer.data(), count, progress))
      return FirmwareResult::kFailed;
    sent += count;
    progress.blockSent(sent, int(double(sent) / double(size) * 100));
  }
  progress.writingComplete();
  progress.pause(kAfterLastBlockMs);
  return FirmwareResult::kCompleted;
}

}  // namespace

void FirmwareProgress::pause(uint32_t ms) {
  platform::SleepInSlices(ms);
}

std::optional<uint64_t> FirmwareFileSize(const std::string& path) {
  auto image = OpenImage(path);
  if (!image)
    return std::nullopt;
  return ImageSize(*image);
}

FirmwareResult DownloadFirmware(const std::string& path, FirmwareProgress& progress) {
  auto image = OpenImage(path);
  if (!image)
    return FirmwareResult::kFileNotOpened;
  auto buffer = ObtainBuffer();
  if (!buffer || !Announce(*buffer, progress))
    return FirmwareResult::kFailed;
  return SendImage(*image, PortWrite, *buffer, progress);
}

FirmwareResult DownloadFirmwareEcp(const std::string& path, FirmwareProgress& progress) {
  DebugTrace(" >> OnUpdate4NtLpt()  <<<");
  auto image = OpenImage(path);
  if (!image)
    return FirmwareResult::kFileNotOpened;
  auto buffer = ObtainBuffer();
  if (!buffer) {
    DebugTrace("Error on writing to port.");
    return FirmwareResult::kFailed;
  }
  auto port = platform::Services().devices->open(SelectedPortName(), platform::kAccessWrite,
                                                 platform::kShareNone);
  if (!port) {
    DebugTrace("Failed to open port...");
    return FirmwareResult::kFailed;
  }
  EcpControl(*port, kEcpSetHardwareMethod, kEcpMethod);
  EcpControl(*port, kEcpSetMode, kEcpMode);
  EcpControl(*port, kEcpSetDirection, kEcpDirection);
  if (port->write(kEcpAnnounce, sizeof kEcpAnnounce) < sizeof kEcpAnnounce) {
    DebugTrace("Error on writing to port. - Update command");
    return FirmwareResult::kFailed;
  }
  const BlockWriter write = [&port](const uint8_t* bytes, size_t count) {
    return port->write(bytes, count);
  };
  return SendImage(*image, write, *buffer, progress);
}

}  // namespace vornik
