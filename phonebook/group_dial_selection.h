// The group dial dialog's bookkeeping, apart from its window: `SelectionState` records
// what the dialog did with each store entry, and `ReferenceCounts` follow every member
// moved in or out at once, so the page's Delete sees the group as it is being composed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "phonebook/group_member_set.h"

namespace vornik {

// One value per store index; indices from 250 on are never tracked (nor offered).
inline constexpr size_t kSelectionStateSize = 250;
enum SelectionMark : int32_t {
  kUntouched = 0,
  kRemoved = 1,  // a member taken out in this dialog
  kIncluded = 2,
};
extern std::array<int32_t, kSelectionStateSize> SelectionState;

// Every entry untouched, as each time the dialog opens.
void ClearSelectionState();

// The existing members of `members`, in the order the dialog lists them (one-touch region
// first, then speed dials), each marked included.
std::vector<int> IncludeInitialMembers(GroupMemberSetView members);

// The store indices from `first` to `end` - 1 that can be added: entries with a number,
// not groups, not included.
std::vector<int> AvailableEntries(int first, int end);

// A member moved in: marked included, one more reference.
void IncludeEntry(int index);
// A member taken out: marked removed, one reference less (never below 0).
void RemoveEntry(int index);

// The member set of every entry marked included.
std::array<uint8_t, kGroupMemberSetSize> IncludedMemberSet();

// A row's label: "SD%3d" with the speed-dial number, "OT%3d" with the one-touch number.
std::string EntryLabel(int index);

}  // namespace vornik
