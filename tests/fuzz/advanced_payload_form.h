// The advanced setup's 73 payload bytes as the program keeps them: what any payload becomes
// once decoded, and what a record encodes to.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "settings/advanced_setup.h"

namespace vornik::fuzz {

using AdvancedPayloadBytes = std::array<uint8_t, advanced_setup_wire::kPayloadBytes>;

inline AdvancedPayloadBytes EncodedAdvanced(const AdvancedSetupRecord& record) {
  AdvancedPayloadBytes bytes;
  EncodeAdvancedSetup(record, bytes.data());
  return bytes;
}

// `raw` with each text cut at its first NUL (NULs after it) and each toll-saver time
// clamped into what the device can hold; every other byte as it came.
inline AdvancedPayloadBytes AdvancedPayloadAsKept(const uint8_t* raw) {
  namespace wire = advanced_setup_wire;
  AdvancedPayloadBytes kept;
  std::copy_n(raw, kept.size(), kept.begin());
  const std::pair<size_t, size_t> texts[] = {{wire::kMachineNumber, kMachineNumberWidth},
                                             {wire::kMachineId, kMachineIdWidth},
                                             {wire::kPrefixDial, kPrefixDialWidth}};
  for (auto [offset, width] : texts) {
    const auto begin = kept.begin() + ptrdiff_t(offset), end = begin + ptrdiff_t(width);
    std::fill(std::find(begin, end, 0), end, 0);
  }
  for (size_t at : {wire::kTollStart, wire::kTollEnd}) {
    kept[at] = std::min<uint8_t>(kept[at], 12);
    kept[at + 1] = std::min<uint8_t>(kept[at + 1], 31);
    const auto year = std::clamp<uint16_t>(uint16_t(kept[at + 2] << 8 | kept[at + 3]),
                                           kFirstTollYear, kLastTollYear);
    kept[at + 2] = uint8_t(year >> 8);
    kept[at + 3] = uint8_t(year);
    kept[at + 4] = std::min<uint8_t>(kept[at + 4], 23);
    kept[at + 5] = std::min<uint8_t>(kept[at + 5], 59);
  }
  return kept;
}

}  // namespace vornik::fuzz
