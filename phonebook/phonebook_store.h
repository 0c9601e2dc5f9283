// `PhonebookStore`: the program's in-memory copy of the device's phonebook, an entry table
// of `PhonebookEntry` records and one reference count per entry, both sized from the
// phonebook count word of `MachineState` (N = `PhonebookEntryCount()`).
//
// Store index 0 to SpeedDialCount-1 are the speed dials (speed dial k is index k); indices
// SpeedDialCount to N-1 are the one-touch entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vornik {

inline constexpr size_t kEntryNameSize = 20;
inline constexpr size_t kDialDataSize = 46;

// One entry, 70 bytes. This is also the record layout of the phonebook file.
//
//   offset 0   groupFlag        0: ordinary entry; non-zero (the program writes 1): group
//          1   inUseFlag        set by the device when the entry is referenced
//          2   name             20 bytes, zero-padded
//          22  nameTerminator   ends a 20-character name
//          23  dialData         46 bytes: dial number text, a `GroupMemberSet`, or (one-touch
//                               entry that chose a group) the group's store index in byte 0
//          69  dialTerminator   ends a 46-character dial number
//
// A file from elsewhere may hold non-zero terminator bytes: the texts are only ever read
// through `EntryName` and `EntryDialNumber`, which stop at the field's width.
struct PhonebookEntry {
  uint8_t groupFlag;
  uint8_t inUseFlag;
  char name[kEntryNameSize];
  char nameTerminator;
  uint8_t dialData[kDialDataSize];
  char dialTerminator;
};
static_assert(sizeof(PhonebookEntry) == 70);
static_assert(std::is_trivially_copyable_v<PhonebookEntry>);

struct PhonebookStoreBlock {
  std::vector<PhonebookEntry> entries;   // N entries in store order
  std::vector<uint8_t> ReferenceCounts;  // per entry: groups holding it + one-touch keys
                                         // that chose it
};

// The process-wide store; empty until `AllocatePhonebookStore` runs at start-up.
extern PhonebookStoreBlock PhonebookStore;

// Gives the store N zero-filled entries and N zero counts, N taken from `MachineState` now.
// False when the memory cannot be had (the store is then left empty).
bool AllocatePhonebookStore();

// Gives the store's memory back; the store is empty afterwards.
void FreePhonebookStore();

// True when the store holds exactly the N entries the count word asks for; the device
// commands and the file refuse to run otherwise.
bool PhonebookStoreReady();

// The name text: up to its terminator, never more than 20 characters.
std::string_view EntryName(const PhonebookEntry& entry);

// The dial number text of an ordinary entry: up to its terminator, at most 46 characters.
std::string_view EntryDialNumber(const PhonebookEntry& entry);

// Zero the field, then copy at most the field's width of `text` and a terminator.
void SetEntryName(PhonebookEntry& entry, std::string_view text);
void SetEntryDialNumber(PhonebookEntry& entry, std::string_view text);

// Recomputes `ReferenceCounts` from the entry table: the group chosen by each one-touch
// entry (when its index is in the store), then every member of each speed-dial group.
// `inUseFlag` is left alone.
void RebuildReferenceCounts();

}  // namespace vornik
