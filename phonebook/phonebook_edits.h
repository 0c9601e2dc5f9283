// What the Phonebook page and its two dialogs do to `PhonebookStore`: store the entry
// dialog's and the group dial dialog's results, delete one entry or every free entry, and
// say which of Edit and Group dial... an entry allows. `ReferenceCounts` and the in-use
// flags stay consistent with the member sets throughout, so an entry that a group still
// holds can never be deleted and one that nothing holds any more can.
#pragma once

#include <optional>
#include <string_view>

#include "phonebook/group_member_set.h"
#include "phonebook/phonebook_store.h"

namespace vornik {

// Store indices `first` to `end` - 1.
struct StoreRange {
  int first = 0;
  int end = 0;
};

// The entries a dial type covers: the one-touch entries, or the speed dials.
StoreRange DialTypeRange(bool oneTouch);

// The states of the Edit and Group dial... buttons for an entry; an empty value leaves
// that button as it was.
struct EntryButtonStates {
  std::optional<bool> edit;
  std::optional<bool> groupDial;
};

// A group allows Group dial... only, whatever its name and members; an entry with a number
// Edit only, an empty entry both. An ordinary entry with a name but no number says nothing.
EntryButtonStates ButtonStatesFor(const PhonebookEntry& entry);

// Whether the entry dialog may close with `number`: 3 characters or more, a digit among them.
bool DialNumberAcceptable(std::string_view number);

// The entry dialog's result: the name and the number replace the entry's texts, each cut
// to its field's width and terminated; the flags stay as they are.
void StoreEntryTexts(PhonebookEntry& entry, std::string_view name, std::string_view number);

// The group dial dialog's result: the entry at `index` becomes a group named `name` with
// `members`. A former member that the dialog left without any reference is no longer in
// use. A group left without members that the device does not mark in use becomes an empty
// entry again. False (nothing changed) for an index outside the store.
bool StoreGroupDial(int index, std::string_view name, GroupMemberSetView members);

// Empties the entry at `index`. False, and nothing changed, when a group or a one-touch key
// holds it or the device marks it in use. A deleted group's members each lose one
// reference; a member left with none is no longer in use.
bool DeletePhonebookEntry(int index);

// Empties every entry that nothing holds, releasing the members of every group that is
// not in use first. Entries still held or in use are kept; returns how many (the page
// beeps once for each).
int DeleteAllPhonebookEntries();

}  // namespace vornik
