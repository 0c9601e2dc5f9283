// Talking to the real vornik-devsim program over its socket: a raw bridge client that can
// send anything at all, and a fixture with a private folder and the platform's own client.
#pragma once

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "devsim_process.h"
#include "platform/bridge_protocol.h"
#include "platform/posix_device_files.h"

namespace devsim::test {

inline const std::vector<uint8_t> kInquiry = {0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0};

class RawClient {
 public:
  explicit RawClient(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  ~RawClient() { hangUp(); }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  void hangUp() {
    if (fd_ >= 0)
      ::close(fd_);
    fd_ = -1;
  }

  void sendRaw(const std::vector<uint8_t>& bytes) {
    ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }
  bool send(uint8_t code, const std::vector<uint8_t>& payload) {
    return platform::bridge::SendMessage(fd_, code, payload, platform::MsFromNow(5000));
  }
  // The answer to the message sent, or nullopt when the server closed the connection.
  std::optional<platform::bridge::Message> receive(uint32_t withinMs = 5000) {
    platform::bridge::Message message;
    if (!platform::bridge::ReceiveMessage(fd_, message, platform::MsFromNow(withinMs)))
      return std::nullopt;
    return message;
  }
  std::optional<platform::bridge::Message> request(uint8_t code,
                                                   const std::vector<uint8_t>& payload) {
    if (!send(code, payload))
      return std::nullopt;
    return receive();
  }
  bool open() {
    const auto answer = request(platform::bridge::kOpen, {3, 0});
    return answer && answer->code == platform::bridge::kOpenAnswer &&
           answer->payload == std::vector<uint8_t>{0};
  }
  static std::vector<uint8_t> readRequest(uint32_t count, uint32_t intervalMs, uint32_t totalMs) {
    std::vector<uint8_t> payload;
    platform::bridge::PutBe32(payload, count);
    platform::bridge::PutBe32(payload, intervalMs);
    platform::bridge::PutBe32(payload, totalMs);
    return payload;
  }
  std::vector<uint8_t> read(uint32_t count, uint32_t intervalMs, uint32_t totalMs) {
    const auto answer = request(platform::bridge::kRead, readRequest(count, intervalMs, totalMs));
    return answer ? answer->payload : std::vector<uint8_t>{};
  }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

class BridgeTest : public testing::Test {
 protected:
  // One complete inquiry through a fresh device open: the device still serves.
  bool deviceAnswersInquiry() {
    auto device = devices.open(socket, platform::kAccessRead | platform::kAccessWrite, 0);
    if (!device || device->write(kInquiry.data(), kInquiry.size()) != kInquiry.size())
      return false;
    uint8_t answer[10] = {};
    return device->read(answer, sizeof answer) == 10 && answer[0] == 0x1B && answer[1] == 0xA4;
  }

  TempFolder folder;
  std::string socket = folder.file("device.sock");
  platform::PosixDeviceFiles devices;
};

}  // namespace devsim::test
