// The device bridge protocol (v1): how a device that is not a kernel device (the
// simulator, a test peer) is opened as a device file over a Unix-domain stream socket.
// Every message, both ways: 1 byte code, 4-byte big-endian payload length, payload.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/fd_io.h"

namespace platform::bridge {

// Client requests; the server answers each with exactly one message of the lower-case code.
inline constexpr uint8_t kOpen = 'O';     // access byte, share byte -> 'o': 0 opened
inline constexpr uint8_t kWrite = 'W';    // bytes -> 'w': 4-byte count accepted
inline constexpr uint8_t kRead = 'R';     // count, interval ms, total ms -> 'r': bytes
inline constexpr uint8_t kControl = 'C';  // 4-byte code, input bytes -> 'c': 1 success
inline constexpr uint8_t kOpenAnswer = 'o';
inline constexpr uint8_t kWriteAnswer = 'w';
inline constexpr uint8_t kReadAnswer = 'r';
inline constexpr uint8_t kControlAnswer = 'c';

// A larger payload is malformed.
inline constexpr uint32_t kMaxPayload = 16u * 1024u * 1024u;

struct Message {
  uint8_t code = 0;
  std::vector<uint8_t> payload;
};

void PutBe32(std::vector<uint8_t>& out, uint32_t value);
uint32_t GetBe32(const uint8_t* bytes);

// Sends one message; false when it could not all be written before the deadline.
bool SendMessage(int fd, uint8_t code, std::span<const uint8_t> payload, Deadline deadline);

// Receives one message; false on end of stream, time-out, failure or a payload length
// above kMaxPayload.
bool ReceiveMessage(int fd, Message& message, Deadline deadline);

}  // namespace platform::bridge
