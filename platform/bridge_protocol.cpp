#include "platform/bridge_protocol.h"

#include <algorithm>

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
  message.payload.clear();
  // The buffer grows with the bytes that arrive, not with the length announced: a peer that
  // announces 16 MiB and sends little costs little.
  constexpr size_t kPiece = 64 << 10;
  while (message.payload.size() < length) {
    const size_t have = message.payload.size();
    const size_t piece = std::min<size_t>(kPiece, length - have);
    message.payload.resize(have + piece);
    if (ReadAll(fd, message.payload.data() + have, piece, deadline) != piece)
      return false;
  }
  return true;
}

}  // namespace platform::bridge
