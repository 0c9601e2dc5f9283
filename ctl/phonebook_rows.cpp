#include "ctl/phonebook_rows.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

#include "ctl/ascii_text.h"
#include "link/field_characters.h"
#include "link/machine_state.h"
#include "phonebook/group_member_set.h"
#include "phonebook/phonebook_edits.h"
#include "phonebook/phonebook_store.h"

namespace vornik::ctl {
namespace {

// A row on its way through the rules.
struct Candidate {
  const ImportRow* row = nullptr;
  PhonebookRow taken;
  int givenSpeedDial = -1;  // the speed dial the row names, when it is a valid one
  std::vector<std::string> reasons;
  bool ok() const { return reasons.empty(); }
};

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

bool Holds(std::string_view text, FilterKind kind) {
  return std::all_of(text.begin(), text.end(), [kind](char c) {
    const int code = static_cast<unsigned char>(c);
    return code >= ' ' && code <= '~' && FieldAccepts(kind, code);
  });
}

// The number as the device dials it: without the blanks, hyphens, dots and brackets that
// only make it readable, a pause as P.
std::string Dialable(std::string_view text) {
  std::string number;
  for (char c : text) {
    if (c == ' ' || c == '-' || c == '.' || c == '(' || c == ')')
      continue;
    number += c == 'p' ? 'P' : c;
  }
  return number;
}

void CheckName(Candidate& c) {
  c.taken.name = AsciiUpper(c.row->name);
  if (!Holds(c.taken.name, FilterKind::kName))
    c.reasons.push_back("bad characters in the name " + Quoted(c.row->name) +
                        " (letters, digits, blanks and + - , . ' / * # & only)");
  else if (c.taken.name.size() > kEntryNameSize)
    c.reasons.push_back("name too long: " + std::to_string(c.taken.name.size()) +
                        " characters, at most " + std::to_string(kEntryNameSize));
}

void CheckNumber(Candidate& c) {
  const std::string number = Dialable(c.row->number);
  c.taken.number = number;
  if (number.empty())
    c.reasons.push_back("no phone number");
  else if (!Holds(number, FilterKind::kDialString))
    c.reasons.push_back("bad characters in the phone number " + Quoted(c.row->number) +
                        " (digits, #, * and P only)");
  else if (number.size() > kDialDataSize)
    c.reasons.push_back("phone number too long: " + std::to_string(number.size()) +
                        " characters, at most " + std::to_string(kDialDataSize));
  else if (std::none_of(number.begin(), number.end(), [](char d) { return d >= '0' && d <= '9'; }))
    c.reasons.push_back("no digit in the phone number " + Quoted(c.row->number));
  else if (!DialNumberAcceptable(number))
    c.reasons.push_back("phone number shorter than 3 characters");
}

void CheckGroup(Candidate& c, int speedDials) {
  c.taken.group = true;
  if (!c.row->number.empty())
    c.reasons.push_back("a group dial has members, not a phone number");
  if (c.row->members.empty())
    c.reasons.push_back("a group dial without members");
  else if (c.row->members.size() > size_t(speedDials))
    c.reasons.push_back("a group dial of more than " + std::to_string(speedDials) + " members");
}

void CheckSpeedDial(Candidate& c, int speedDials) {
  const std::string& text = c.row->speedDial;
  if (text.empty())
    return;
  int value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure == std::errc::result_out_of_range ||
      (failure == std::errc() && end == text.data() + text.size() &&
       (value < 0 || value >= speedDials))) {
    c.reasons.push_back("speed dial " + text + " is out of range (0 to " +
                        std::to_string(speedDials - 1) + ")");
  } else if (failure != std::errc() || end != text.data() + text.size()) {
    c.reasons.push_back("speed dial " + Quoted(text) + " is not a number");
  } else {
    c.givenSpeedDial = value;
  }
}

// A speed dial or a key that an earlier row already has refuses the later row.
void CheckTwice(std::vector<Candidate>& candidates) {
  std::map<int, int> speedDialLines;
  std::map<std::string, int> keyLines;
  for (Candidate& c : candidates) {
    if (c.givenSpeedDial >= 0) {
      const auto [first, fresh] = speedDialLines.emplace(c.givenSpeedDial, c.row->line);
      if (!fresh) {
        c.reasons.push_back("speed dial " + std::to_string(c.givenSpeedDial) +
                            " is given twice (also on line " + std::to_string(first->second) + ")");
        continue;
      }
    }
    if (!c.row->key.empty()) {
      const auto [first, fresh] = keyLines.emplace(c.row->key, c.row->line);
      if (!fresh)
        c.reasons.push_back(Quoted(c.row->key) + " names two rows (also line " +
                            std::to_string(first->second) + ")");
    }
  }
}

// Rows without a speed dial take the lowest ones that no taken row names, in file order.
// There are no more rows than speed dials, so one is always left.
void AssignSpeedDials(std::vector<Candidate>& candidates) {
  std::set<int> used;
  for (const Candidate& c : candidates)
    if (c.ok() && c.givenSpeedDial >= 0)
      used.insert(c.givenSpeedDial);
  int next = 0;
  for (Candidate& c : candidates) {
    if (!c.ok())
      continue;
    if (c.givenSpeedDial >= 0) {
      c.taken.speedDial = c.givenSpeedDial;
      continue;
    }
    while (used.contains(next))
      ++next;
    c.taken.speedDial = next;
    used.insert(next);
  }
}

// Groups hold only rows of the file that are taken and have a number.
void ResolveMembers(std::vector<Candidate>& candidates) {
  std::map<std::string, const Candidate*> byKey;
  for (const Candidate& c : candidates)
    if (!c.row->key.empty())
      byKey.emplace(c.row->key, &c);
  for (Candidate& c : candidates) {
    if (!c.ok() || !c.taken.group)
      continue;
    std::vector<std::string> reasons;
    for (const std::string& key : c.row->members) {
      const auto found = byKey.find(key);
      if (found == byKey.end())
        reasons.push_back("unknown member " + Quoted(key));
      else if (found->second->taken.group)
        reasons.push_back("member " + Quoted(key) + " is a group dial");
      else if (!found->second->ok())
        reasons.push_back("member " + Quoted(key) + " (line " +
                          std::to_string(found->second->row->line) + ") is not taken");
      else
        c.taken.members.push_back(found->second->taken.speedDial);
    }
    c.reasons.insert(c.reasons.end(), reasons.begin(), reasons.end());
    std::sort(c.taken.members.begin(), c.taken.members.end());
    c.taken.members.erase(std::unique(c.taken.members.begin(), c.taken.members.end()),
                          c.taken.members.end());
  }
}

}  // namespace

bool ReadsAnotherRow(size_t rowsRead, int line, int speedDials, std::vector<RowError>& errors) {
  if (rowsRead < size_t(speedDials))
    return true;
  errors.push_back({line, "the phonebook holds " + std::to_string(speedDials) +
                              " entries: this row and the rest of the file are not read"});
  return false;
}

void AddMember(ImportRow& row, std::string key, int speedDials) {
  if (row.members.size() <= size_t(speedDials) &&
      std::find(row.members.begin(), row.members.end(), key) == row.members.end())
    row.members.push_back(std::move(key));
}

ImportedPhonebook CheckImportRows(const std::vector<ImportRow>& rows,
                                  std::vector<RowError> fileErrors, int speedDials) {
  std::vector<Candidate> candidates;
  candidates.reserve(rows.size());
  for (const ImportRow& row : rows) {
    Candidate c;
    c.row = &row;
    CheckName(c);
    if (row.group)
      CheckGroup(c, speedDials);
    else
      CheckNumber(c);
    CheckSpeedDial(c, speedDials);
    candidates.push_back(std::move(c));
  }
  CheckTwice(candidates);
  AssignSpeedDials(candidates);
  ResolveMembers(candidates);

  ImportedPhonebook result;
  result.errors = std::move(fileErrors);
  for (Candidate& c : candidates) {
    if (c.ok())
      result.rows.push_back(std::move(c.taken));
    for (std::string& reason : c.reasons)
      result.errors.push_back({c.row->line, std::move(reason)});
  }
  std::sort(result.rows.begin(), result.rows.end(),
            [](const auto& a, const auto& b) { return a.speedDial < b.speedDial; });
  std::stable_sort(result.errors.begin(), result.errors.end(),
                   [](const auto& a, const auto& b) { return a.line < b.line; });
  return result;
}

std::vector<PhonebookRow> RowsOfStore() {
  std::vector<PhonebookRow> rows;
  if (!PhonebookStoreReady())
    return rows;
  const int speedDials = MachineState.SpeedDialCount;
  for (int i = 0; i < speedDials; ++i) {
    const PhonebookEntry& entry = PhonebookStore.entries[size_t(i)];
    PhonebookRow row;
    row.speedDial = i;
    row.name = EntryName(entry);
    if (entry.groupFlag != 0) {
      row.group = true;
      for (int member : GroupMembers(entry.dialData))
        if (member < speedDials)
          row.members.push_back(member);
      std::sort(row.members.begin(), row.members.end());
    } else {
      row.number = EntryDialNumber(entry);
      if (row.name.empty() && row.number.empty())
        continue;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

bool StoreRows(const std::vector<PhonebookRow>& rows) {
  if (!AllocatePhonebookStore())
    return false;
  for (const PhonebookRow& row : rows) {
    if (row.speedDial < 0 || size_t(row.speedDial) >= PhonebookStore.entries.size())
      continue;
    PhonebookEntry& entry = PhonebookStore.entries[size_t(row.speedDial)];
    if (row.group) {
      entry.groupFlag = 1;
      SetEntryName(entry, row.name);
      for (int member : row.members)
        AddGroupMember(entry.dialData, member);
    } else {
      StoreEntryTexts(entry, row.name, row.number);
    }
  }
  RebuildReferenceCounts();
  return true;
}

}  // namespace vornik::ctl
