#include "platform/bridge_protocol.h"

namespace platform::bridge {

void PutBe32(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value >> 24));
  out.push_back(uint8_t(value >> 16));
  out.push_back(uint8_t(value >> 8));
  out.push_back(uint8_t(value));
}

uint32_t GetBe32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 |
         uint32_t(bytes[3]);
}

bool SendMessage(int fd, uint8_t code, std::span<const uint8_t> payload, Deadline deadline) {
  std::vector<uint8_t> message;
  message.reserve(5 + payload.size());
  message.push_back(code);
  PutBe32(message, static_cast<uint32_t>(payload.size()));
  message.insert(message.end(), payload.begin(), payload.end());
  return WriteAll(fd, message.data(), message.size(), deadline) == message.size();
}

bool ReceiveMessage(int fd, Message& message, Deadline deadline) {
  uint8_t head[5];
  if (ReadAll(fd, head, sizeof head, deadline) != sizeof head)
    return false;
  const uint32_t length = GetBe32(head + 1);
  if (length > kMaxPayload)
    return false;
  message.code = head[0];
  message.payload.resize(length);
  return ReadAll(fd, message.payload.data(), length, deadline) == length;
}

}  // namespace platform::bridge
