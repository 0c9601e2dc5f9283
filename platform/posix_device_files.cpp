#include "platform/posix_device_files.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/bridge_protocol.h"
#include "platform/device_names.h"
#include "platform/fd_io.h"

namespace platform {
namespace {

// A write on a handle without write time-outs gives up after this long, so that a
// stalled port can never hang the window either.
constexpr uint32_t kDefaultWriteTotalMs = 5000;

// The ECP port driver's three control requests, as ppdev requests.
constexpr uint32_t kEcpSetHardwareMethod = 0x182014;
constexpr uint32_t kEcpSetMode = 0x182004;
constexpr uint32_t kEcpSetDirection = 0x182008;

uint32_t WriteTotalMs(const CommTimeouts& t, size_t count) {
  const uint64_t total = uint64_t(t.writeTotalConstant) + uint64_t(t.writeTotalMultiplier) * count;
  if (total == 0)
    return kDefaultWriteTotalMs;
  return total > UINT32_MAX ? UINT32_MAX : uint32_t(total);
}

// A device whose serial-style time-outs are kept by the program side: every transfer
// applies them itself.
class TimedDeviceFile : public DeviceFile {
 public:
  bool getTimeouts(CommTimeouts& timeouts) override {
    timeouts = timeouts_;
    return true;
  }
  bool setTimeouts(const CommTimeouts& timeouts) override {
    timeouts_ = timeouts;
    return true;
  }

 protected:
  CommTimeouts timeouts_;
};

class FdDeviceFile : public TimedDeviceFile {
 public:
  FdDeviceFile(int fd, bool ecpPort) : fd_(fd), ecpPort_(ecpPort) {}
  ~FdDeviceFile() override {
    if (ecpPort_)
      ioctl(fd_, PPRELEASE);
    ::close(fd_);
  }

  size_t write(const uint8_t* bytes, size_t count) override {
    return WriteAll(fd_, bytes, count, MsFromNow(WriteTotalMs(timeouts_, count)));
  }

  // Windows read semantics: the total time-out bounds the whole read, the interval
  // time-out the gap after each byte that arrived.
  size_t read(uint8_t* buffer, size_t count) override {
    const auto end = MsFromNow(ReadTotalMs(timeouts_, count));
    size_t got = 0;
    while (got < count) {
      auto limit = end;
      if (got > 0 && timeouts_.readInterval != 0)
        limit = std::min(end, MsFromNow(timeouts_.readInterval));
      const ssize_t n = TransferWhenReady(fd_, POLLIN, limit,
                                          [&] { return ::read(fd_, buffer + got, count - got); });
      if (n <= 0)
        break;
      got += size_t(n);
    }
    return got;
  }

  bool control(uint32_t code, const uint8_t* input, size_t size) override {
    if (!ecpPort_ || size == 0)
      return false;
    int value = 0;
    std::memcpy(&value, input, std::min(size, sizeof value));  // little-endian integer
    switch (code) {
      case kEcpSetHardwareMethod:
      case kEcpSetMode:
        return ioctl(fd_, PPSETMODE, &value) == 0;
      case kEcpSetDirection:
        return ioctl(fd_, PPDATADIR, &value) == 0;
      default:
        return false;
    }
  }

 private:
  int fd_;
  bool ecpPort_;
};

// A device served over the bridge protocol. The server does the waiting; the client
// only guards against a server that stops answering.
class BridgeDeviceFile : public TimedDeviceFile {
 public:
  explicit BridgeDeviceFile(int fd) : fd_(fd) {}
  ~BridgeDeviceFile() override { ::close(fd_); }

  size_t write(const uint8_t* bytes, size_t count) override {
    bridge::Message answer;
    if (!exchange(bridge::kWrite, {bytes, count}, WriteTotalMs(timeouts_, count), answer) ||
        answer.code != bridge::kWriteAnswer || answer.payload.size() != 4)
      return 0;
    return std::min<size_t>(count, bridge::GetBe32(answer.payload.data()));
  }

  size_t read(uint8_t* buffer, size_t count) override {
    const uint32_t total = ReadTotalMs(timeouts_, count);
    std::vector<uint8_t> request;
    bridge::PutBe32(request, uint32_t(std::min<size_t>(count, bridge::kMaxPayload)));
    bridge::PutBe32(request, timeouts_.readInterval);
    bridge::PutBe32(request, total);
    bridge::Message answer;
    if (!exchange(bridge::kRead, request, total, answer) || answer.code != bridge::kReadAnswer)
      return 0;
    const size_t got = std::min(count, answer.payload.size());
    if (got > 0)
      std::memcpy(buffer, answer.payload.data(), got);
    return got;
  }

  bool control(uint32_t code, const uint8_t* input, size_t size) override {
    std::vector<uint8_t> request;
    bridge::PutBe32(request, code);
    request.insert(request.end(), input, input + size);
    bridge::Message answer;
    return exchange(bridge::kControl, request, 0, answer) &&
           answer.code == bridge::kControlAnswer && answer.payload.size() == 1 &&
           answer.payload[0] == 1;
  }

 private:
  // One request and its answer. The server may take `serverMs` to answer; beyond that
  // and a grace period the device counts as gone.
  bool exchange(uint8_t code, std::span<const uint8_t> payload, uint32_t serverMs,
                bridge::Message& answer) {
    constexpr uint32_t kGraceMs = 2000;
    const auto deadline =
        MsFromNow(uint32_t(std::min<uint64_t>(uint64_t(serverMs) + kGraceMs, UINT32_MAX)));
    return bridge::SendMessage(fd_, code, payload, deadline) &&
           bridge::ReceiveMessage(fd_, answer, deadline);
  }

  int fd_;
};

std::unique_ptr<DeviceFile> OpenBridge(const std::string& path, unsigned access, unsigned share) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path)
    return nullptr;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0)
    return nullptr;
  auto device = std::make_unique<BridgeDeviceFile>(fd);  // closes fd on every early return
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    return nullptr;
  const uint8_t request[2] = {uint8_t(access), uint8_t(share)};
  bridge::Message answer;
  constexpr uint32_t kOpenAnswerMs = 3000;
  const auto deadline = MsFromNow(kOpenAnswerMs);
  if (!bridge::SendMessage(fd, bridge::kOpen, request, deadline) ||
      !bridge::ReceiveMessage(fd, answer, deadline) || answer.code != bridge::kOpenAnswer ||
      answer.payload.size() != 1 || answer.payload[0] != 0)
    return nullptr;
  return device;
}

}  // namespace

std::unique_ptr<DeviceFile> PosixDeviceFiles::open(const std::string& name, unsigned access,
                                                   unsigned share) {
  const std::string path = DevicePathFor(name);
  switch (KindOfDevicePath(path)) {
    case DevicePathKind::kSocket:
      return OpenBridge(path, access, share);
    case DevicePathKind::kCharacterDevice:
      break;
    default:
      return nullptr;  // existing devices only, and nothing that would take the bytes as a file
  }

  int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  if ((access & kAccessRead) && (access & kAccessWrite)) {
    flags |= O_RDWR;
  } else if (access & kAccessWrite) {
    flags |= O_WRONLY;
  } else {
    flags |= O_RDONLY;
  }
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0)
    return nullptr;
  // The path may have been replaced since it was looked at: what was opened must be a device.
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISCHR(opened.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  // Sharing as the program means it: an unshared open is refused while another holds the
  // device, and keeps others out while it is held.
  if (::flock(fd, (share == kShareNone ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  const bool ecpPort = IsEcpPortPath(path);
  if (ecpPort && ioctl(fd, PPCLAIM) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FdDeviceFile>(fd, ecpPort);
}

bool PosixDeviceFiles::accessDenied(const std::string& name) {
  const std::string path = DevicePathFor(name);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return false;
  return ::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

}  // namespace platform
