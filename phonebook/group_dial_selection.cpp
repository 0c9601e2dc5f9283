#include "phonebook/group_dial_selection.h"

#include <algorithm>
#include <cstdio>

#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"

namespace vornik {

std::array<int32_t, kSelectionStateSize> SelectionState{};

namespace {

bool Tracked(int index) {
  return index >= 0 && size_t(index) < kSelectionStateSize &&
         size_t(index) < PhonebookStore.ReferenceCounts.size();
}

}  // namespace

void ClearSelectionState() {
  SelectionState.fill(kUntouched);
}

std::vector<int> IncludeInitialMembers(GroupMemberSetView members) {
  std::vector<int> included;
  for (int member : GroupMembers(members)) {
    if (!Tracked(member))
      continue;
    SelectionState[size_t(member)] = kIncluded;
    included.push_back(member);
  }
  return included;
}

std::vector<int> AvailableEntries(int first, int end) {
  std::vector<int> available;
  for (int i = std::max(first, 0); i < end && Tracked(i); ++i) {
    const PhonebookEntry& entry = PhonebookStore.entries[size_t(i)];
    if (entry.dialData[0] != 0 && SelectionState[size_t(i)] != kIncluded && entry.groupFlag == 0)
      available.push_back(i);
  }
  return available;
}

void IncludeEntry(int index) {
  if (!Tracked(index))
    return;
  SelectionState[size_t(index)] = kIncluded;
  uint8_t& count = PhonebookStore.ReferenceCounts[size_t(index)];
  if (count != UINT8_MAX)
    ++count;
}

void RemoveEntry(int index) {
  if (!Tracked(index))
    return;
  SelectionState[size_t(index)] = kRemoved;
  uint8_t& count = PhonebookStore.ReferenceCounts[size_t(index)];
  if (count != 0)
    --count;
}

std::array<uint8_t, kGroupMemberSetSize> IncludedMemberSet() {
  std::array<uint8_t, kGroupMemberSetSize> members{};
  for (size_t i = 0; i < kSelectionStateSize; ++i) {
    if (SelectionState[i] == kIncluded)
      AddGroupMember(members, int(i));
  }
  return members;
}

std::string EntryLabel(int index) {
  const int speedDials = MachineState.SpeedDialCount;
  char label[16];
  if (index < speedDials)
    std::snprintf(label, sizeof label, "SD%3d", index);
  else
    std::snprintf(label, sizeof label, "OT%3d", index - speedDials);
  return label;
}

}  // namespace vornik
