// The phonebook as rows, one per speed dial that holds an entry: what the export formats
// (CSV, vCard, JSON) write and the import formats read. An import's rows pass the rules of
// the entry and group dial dialogs before any of them reaches the store.
#pragma once

#include <string>
#include <vector>

namespace vornik::ctl {

struct PhonebookRow {
  int speedDial = 0;
  std::string name;
  std::string number;  // an ordinary entry's phone number
  bool group = false;
  std::vector<int> members;  // a group dial's members, by speed dial, ascending
};

// A row as an import file gives it, before the rules.
struct ImportRow {
  int line = 0;           // where the row begins in its file
  std::string key;        // how other rows name it as a member; empty: it cannot be one
  std::string speedDial;  // as written; empty: the lowest speed dial left free
  std::string name;
  std::string number;
  bool group = false;
  std::vector<std::string> members;  // the keys of its members
};

struct RowError {
  int line = 0;
  std::string reason;
};

struct ImportedPhonebook {
  std::vector<PhonebookRow> rows;  // the rows taken, by speed dial
  std::vector<RowError> errors;    // the rows refused, by line, each with its reason
};

// Applies the rules to every row of a phonebook of `speedDials` entries. A name is turned
// into capitals and holds at most 20 of the name characters; a phone number loses its
// blanks, hyphens, dots and brackets, takes P for p, and holds 3 to 46 of the dial
// characters with a digit among them; a speed dial is 0 to `speedDials` - 1 and is given
// once; a group dial's members are rows of the same file that are taken, with a number.
// `fileErrors` (rows the format itself refused) are kept among the errors.
ImportedPhonebook CheckImportRows(const std::vector<ImportRow>& rows,
                                  std::vector<RowError> fileErrors, int speedDials);

// The rows of the store's speed dials that hold an entry, by speed dial.
std::vector<PhonebookRow> RowsOfStore();

// Empties the store, puts the rows in it and rebuilds the reference counts. False when the
// store's memory cannot be had.
bool StoreRows(const std::vector<PhonebookRow>& rows);

}  // namespace vornik::ctl
