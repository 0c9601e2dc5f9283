#include "phonebook/phonebook_edits.h"

#include <algorithm>
#include <vector>

#include "link/machine_state.h"

namespace vornik {
namespace {

bool ValidIndex(int index) {
  return PhonebookStoreReady() && index >= 0 && size_t(index) < PhonebookStore.entries.size();
}

// Nothing holds the entry and the device does not mark it in use: it may go.
bool Free(int index) {
  return PhonebookStore.ReferenceCounts[size_t(index)] == 0 &&
         PhonebookStore.entries[size_t(index)].inUseFlag == 0;
}

// One reference to `index` goes; the entry is no longer in use once none is left.
void DropReference(int index) {
  uint8_t& count = PhonebookStore.ReferenceCounts[size_t(index)];
  if (count != 0)
    --count;
  if (count == 0)
    PhonebookStore.entries[size_t(index)].inUseFlag = 0;
}

void ReleaseMembers(const PhonebookEntry& group) {
  for (int member : GroupMembers(group.dialData))
    DropReference(member);
}

void Empty(PhonebookEntry& entry) {
  entry.groupFlag = 0;
  SetEntryName(entry, {});
  SetEntryDialNumber(entry, {});
}

}  // namespace

StoreRange DialTypeRange(bool oneTouch) {
  if (oneTouch)
    return {MachineState.SpeedDialCount, PhonebookEntryCount()};
  return {0, MachineState.SpeedDialCount};
}

EntryButtonStates ButtonStatesFor(const PhonebookEntry& entry) {
  // A group's member set is no number: its first byte is zero when its members are all
  // speed dials 8 or above, so the kind decides before the texts are looked at.
  if (entry.groupFlag != 0)
    return {false, true};
  if (entry.dialData[0] != 0)
    return {true, false};
  if (entry.name[0] == 0)
    return {true, true};
  return {};
}

bool DialNumberAcceptable(std::string_view number) {
  return number.size() >= 3 &&
         std::any_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void StoreEntryTexts(PhonebookEntry& entry, std::string_view name, std::string_view number) {
  SetEntryName(entry, name);
  SetEntryDialNumber(entry, number);
}

bool StoreGroupDial(int index, std::string_view name, GroupMemberSetView members) {
  if (!ValidIndex(index))
    return false;
  PhonebookEntry& entry = PhonebookStore.entries[size_t(index)];
  std::vector<int> formerMembers;
  if (entry.groupFlag != 0)
    formerMembers = GroupMembers(entry.dialData);
  entry.groupFlag = 1;
  SetEntryName(entry, name);
  std::copy(members.begin(), members.end(), entry.dialData);
  // The dialog already took their references away; one left with none is free again.
  const std::vector<int> kept = GroupMembers(members);
  for (int member : formerMembers) {
    if (std::find(kept.begin(), kept.end(), member) == kept.end() &&
        PhonebookStore.ReferenceCounts[size_t(member)] == 0)
      PhonebookStore.entries[size_t(member)].inUseFlag = 0;
  }
  const bool noMembers =
      std::all_of(members.begin(), members.end(), [](uint8_t b) { return b == 0; });
  if (entry.inUseFlag == 0 && noMembers)
    Empty(entry);
  return true;
}

bool DeletePhonebookEntry(int index) {
  if (!ValidIndex(index) || !Free(index))
    return false;
  PhonebookEntry& entry = PhonebookStore.entries[size_t(index)];
  if (entry.groupFlag != 0)
    ReleaseMembers(entry);
  Empty(entry);
  return true;
}

int DeleteAllPhonebookEntries() {
  if (!PhonebookStoreReady())
    return 0;
  auto& entries = PhonebookStore.entries;
  const int count = int(entries.size());
  const int speedDials = std::min<int>(MachineState.SpeedDialCount, count);
  // Only what goes releases what it holds: a kept group or key keeps its members held. A
  // group that another group holds comes free only once that one is released, and it may
  // stand earlier in the store: release until nothing more comes free, so the result does
  // not depend on the order of the store.
  std::vector<bool> released(size_t(count), false);
  for (bool freed = true; freed;) {
    freed = false;
    for (int i = 0; i < count; ++i) {
      const PhonebookEntry& entry = entries[size_t(i)];
      if (released[size_t(i)] || entry.groupFlag == 0 || !Free(i))
        continue;
      if (i < speedDials)
        ReleaseMembers(entry);
      else if (const int chosenGroup = entry.dialData[0]; chosenGroup < count)
        DropReference(chosenGroup);  // a one-touch key's chosen group
      released[size_t(i)] = true;
      freed = true;
    }
  }
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (Free(i))
      Empty(entries[size_t(i)]);
    else
      ++kept;
  }
  return kept;
}

}  // namespace vornik
