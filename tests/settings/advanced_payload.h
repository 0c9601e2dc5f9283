// An advanced setup as a device sends it, unlike the defaults in every field: the 73 payload
// bytes of the get answer and the set request.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace vornik::test {

inline constexpr size_t kAdvancedPayloadSize = 73;
using AdvancedPayload = std::array<uint8_t, kAdvancedPayloadSize>;

// Writes `text` at `offset`, then `fill` up to `width`.
inline void PutPayloadText(AdvancedPayload& payload, size_t offset, size_t width,
                           std::string_view text, uint8_t fill = ' ') {
  for (size_t i = 0; i < width; ++i)
    payload[offset + i] = i < text.size() ? uint8_t(text[i]) : fill;
}

// Machine number "+44 20 7946 0958", ID "ACME LTD" and prefix "81", blank-padded; 24 hour
// clock, language 5, power save after 10 minutes, carried bytes A1..A5, USB FAST, speaker
// COM, ringer HIGH, no key or alarm sound, toll saver on from 2024-03-15 22:05 to
// 2025-04-01 06:45, receiver name stamped, ECM on.
inline AdvancedPayload DeviceAdvancedPayload() {
  AdvancedPayload p{};
  PutPayloadText(p, 0, 20, "+44 20 7946 0958");
  PutPayloadText(p, 20, 20, "ACME LTD");
  // Clock mode to toll saver (40..53), then the toll-saver start and end.
  const uint8_t settings[] = {1, 5, 2, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 1, 2, 3, 0, 0, 1};
  const uint8_t tollStart[] = {3, 15, 0x07, 0xE8, 22, 5};
  const uint8_t tollEnd[] = {4, 1, 0x07, 0xE9, 6, 45};
  std::copy(std::begin(settings), std::end(settings), p.begin() + 40);
  std::copy(std::begin(tollStart), std::end(tollStart), p.begin() + 54);
  std::copy(std::begin(tollEnd), std::end(tollEnd), p.begin() + 60);
  PutPayloadText(p, 66, 5, "81");
  p[71] = 1;
  p[72] = 1;
  return p;
}

}  // namespace vornik::test
