// `GroupMemberSet`: the 46 `dialData` bytes of a group entry, one bit per member. Bits are
// numbered most significant first: bit b is bit (7 - b % 8) of byte b / 8 of its region.
//
//   bytes 0..24   200 bits   bit k: speed dial k (store index k)
//   bytes 25..35             zero
//   bytes 36..42  56 bits    bit k: one-touch entry k (store index SpeedDialCount + k)
//   bytes 43..45             zero
//
// A bit counts only when it designates an existing entry; other bits are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "phonebook/phonebook_store.h"

namespace vornik {

inline constexpr size_t kGroupMemberSetSize = kDialDataSize;
inline constexpr size_t kSpeedDialRegionOffset = 0;
inline constexpr size_t kSpeedDialRegionBits = 200;
inline constexpr size_t kOneTouchRegionOffset = 36;
inline constexpr size_t kOneTouchRegionBits = 56;

using GroupMemberSetView = std::span<const uint8_t, kGroupMemberSetSize>;

// The store indices of the existing members, in the order the device and the windows walk
// them: the one-touch region first, then the speed-dial region, each byte from the lowest
// address, each byte's bits from the most significant.
std::vector<int> GroupMembers(GroupMemberSetView set);

// Sets the member bit of the entry at `storeIndex`. False (and nothing set) when the index
// is not an existing entry that the set can designate.
bool AddGroupMember(std::span<uint8_t, kGroupMemberSetSize> set, int storeIndex);

}  // namespace vornik
