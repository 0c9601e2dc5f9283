#include "phonebook/phonebook_store.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "link/machine_state.h"
#include "phonebook/group_member_set.h"

namespace vornik {

PhonebookStoreBlock PhonebookStore;

namespace {

std::string_view BoundedText(const void* field, size_t width) {
  const char* text = static_cast<const char*>(field);
  return std::string_view(text, size_t(std::find(text, text + width, '\0') - text));
}

void PutBoundedText(void* field, size_t width, char& terminator, std::string_view text) {
  std::memset(field, 0, width);
  if (!text.empty())
    std::memcpy(field, text.data(), std::min(width, text.size()));
  terminator = '\0';
}

}  // namespace

bool AllocatePhonebookStore() {
  const size_t count = size_t(PhonebookEntryCount());
  try {
    PhonebookStore.entries.assign(count, PhonebookEntry{});
    PhonebookStore.ReferenceCounts.assign(count, 0);
  } catch (const std::bad_alloc&) {
    FreePhonebookStore();
    return false;
  }
  return true;
}

void FreePhonebookStore() {
  PhonebookStore = PhonebookStoreBlock{};
}

bool PhonebookStoreReady() {
  const size_t count = size_t(PhonebookEntryCount());
  return PhonebookStore.entries.size() == count && PhonebookStore.ReferenceCounts.size() == count;
}

std::string_view EntryName(const PhonebookEntry& entry) {
  return BoundedText(entry.name, kEntryNameSize);
}

std::string_view EntryDialNumber(const PhonebookEntry& entry) {
  return BoundedText(entry.dialData, kDialDataSize);
}

void SetEntryName(PhonebookEntry& entry, std::string_view text) {
  PutBoundedText(entry.name, kEntryNameSize, entry.nameTerminator, text);
}

void SetEntryDialNumber(PhonebookEntry& entry, std::string_view text) {
  PutBoundedText(entry.dialData, kDialDataSize, entry.dialTerminator, text);
}

void RebuildReferenceCounts() {
  if (!PhonebookStoreReady())
    return;
  auto& entries = PhonebookStore.entries;
  auto& counts = PhonebookStore.ReferenceCounts;
  const size_t count = entries.size();
  std::fill(counts.begin(), counts.end(), 0);
  for (size_t i = MachineState.SpeedDialCount; i < count; ++i) {
    const uint8_t chosenGroup = entries[i].dialData[0];
    if (entries[i].groupFlag != 0 && chosenGroup < count)
      ++counts[chosenGroup];
  }
  for (size_t i = 0; i < MachineState.SpeedDialCount; ++i) {
    if (entries[i].groupFlag == 0)
      continue;
    for (int member : GroupMembers(entries[i].dialData))
      ++counts[size_t(member)];
  }
}

}  // namespace vornik
