#include "phonebook/group_member_set.h"

#include <algorithm>

#include "link/machine_state.h"

namespace vornik {
namespace {

bool BitIsSet(GroupMemberSetView set, size_t regionOffset, size_t bit) {
  return (set[regionOffset + bit / 8] & (0x80 >> (bit % 8))) != 0;
}

void AppendRegionMembers(GroupMemberSetView set, size_t regionOffset, size_t regionBits,
                         size_t entriesInRegion, int firstStoreIndex, std::vector<int>& members) {
  const size_t bits = std::min(regionBits, entriesInRegion);
  for (size_t k = 0; k < bits; ++k) {
    if (BitIsSet(set, regionOffset, k))
      members.push_back(firstStoreIndex + int(k));
  }
}

bool SetBit(std::span<uint8_t, kGroupMemberSetSize> set, size_t regionOffset, size_t regionBits,
            size_t bit) {
  if (bit >= regionBits)
    return false;
  set[regionOffset + bit / 8] |= uint8_t(0x80 >> (bit % 8));
  return true;
}

}  // namespace

std::vector<int> GroupMembers(GroupMemberSetView set) {
  const int speedDials = MachineState.SpeedDialCount;
  std::vector<int> members;
  AppendRegionMembers(set, kOneTouchRegionOffset, kOneTouchRegionBits, MachineState.OneTouchCount,
                      speedDials, members);
  AppendRegionMembers(set, kSpeedDialRegionOffset, kSpeedDialRegionBits, size_t(speedDials), 0,
                      members);
  return members;
}

bool AddGroupMember(std::span<uint8_t, kGroupMemberSetSize> set, int storeIndex) {
  const int speedDials = MachineState.SpeedDialCount;
  if (storeIndex < 0)
    return false;
  if (storeIndex < speedDials)
    return SetBit(set, kSpeedDialRegionOffset, kSpeedDialRegionBits, size_t(storeIndex));
  const int k = storeIndex - speedDials;
  if (k >= MachineState.OneTouchCount)
    return false;
  return SetBit(set, kOneTouchRegionOffset, kOneTouchRegionBits, size_t(k));
}

}  // namespace vornik
