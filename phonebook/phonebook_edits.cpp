#include "phonebook/phonebook_edits.h"

#include <algorithm>

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
  EntryButtonStates states;
  if (entry.groupFlag != 0) {
    states = {false, true};
  } else if (entry.dialData[0] != 0) {
    states = {true, false};
  }
  if (entry.name[0] == 0 && entry.dialData[0] == 0)
    states = {true, true};
  return states;
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
  // Only what goes releases what it holds: a kept group or key keeps its members held.
  for (int i = speedDials; i < count; ++i) {
    PhonebookEntry& key = entries[size_t(i)];
    if (key.groupFlag == 0 || !Free(i))
      continue;
    key.groupFlag = 0;
    if (const int chosenGroup = key.dialData[0]; chosenGroup < count)
      DropReference(chosenGroup);
  }
  for (int i = 0; i < speedDials; ++i) {
    if (entries[size_t(i)].groupFlag != 0 && Free(i))
      ReleaseMembers(entries[size_t(i)]);
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
