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

// No text that a row reads (a field, a content line) comes near this length; a longer one
// is refused without being kept.
inline constexpr size_t kLongestImportText = 1024;

// Whether a reader that has read `rowsRead` rows reads the one at `line`: a phonebook of
// `speedDials` entries holds no more, so the first row beyond is refused together with the
// rest of the file, as one error in `errors`.
bool ReadsAnotherRow(size_t rowsRead, int line, int speedDials, std::vector<RowError>& errors);

// Adds `key` to the row's members unless it is there already. A group of more members than
// `speedDials` is refused whatever they are, so no more than one over are kept.
void AddMember(ImportRow& row, std::string key, int speedDials);

struct ImportedPhonebook {
  std::vector<PhonebookRow> rows;  // the rows taken, by speed dial
  std::vector<RowError> errors;    // the rows refused, by line, each with its reason
};

// Applies the rules to every row of a phonebook of `speedDials` entries. A name is turned
// into capitals and holds at most 20 of the name characters; a phone number loses its
// blanks, hyphens, dots and brackets, takes P for p, and holds 3 to 46 of the dial
// characters with a digit among them; a speed dial is 0 to `speedDials` - 1 and is given
// once; a group dial's members are rows of the same file that are taken, with a number.
// `fileErrors` (rows the format itself refused) are kept among the errors. The readers give
// at most `speedDials` rows (`ReadsAnotherRow`), so every row taken finds a speed dial.
ImportedPhonebook CheckImportRows(const std::vector<ImportRow>& rows,
                                  std::vector<RowError> fileErrors, int speedDials);

// The rows of the store's speed dials that hold an entry, by speed dial.
std::vector<PhonebookRow> RowsOfStore();

// Empties the store, puts the rows in it and rebuilds the reference counts. False when the
// store's memory cannot be had.
bool StoreRows(const std::vector<PhonebookRow>& rows);

}  // namespace vornik::ctl
