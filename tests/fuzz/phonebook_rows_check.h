// The invariants of an imported phonebook, whatever text it came from: every row taken obeys
// the entry and group dial dialogs' rules, and writing the rows and reading them back gives
// the same rows.
#pragma once

#include <set>
#include <string_view>

#include "ctl/phonebook_rows.h"
#include "fuzz_support.h"
#include "link/field_characters.h"

namespace vornik::fuzz {

inline constexpr int kSpeedDials = 100;

inline void CheckImportedRows(const ctl::ImportedPhonebook& imported) {
  std::set<int> slots;
  for (const ctl::PhonebookRow& row : imported.rows) {
    FUZZ_CHECK(row.speedDial >= 0 && row.speedDial < kSpeedDials);
    FUZZ_CHECK(slots.insert(row.speedDial).second);
    FUZZ_CHECK(row.name.size() <= 20);
    for (const char c : row.name)
      FUZZ_CHECK(FieldAccepts(FilterKind::kName, uint8_t(c)) && !(c >= 'a' && c <= 'z'));
    if (!row.group) {
      FUZZ_CHECK(row.number.size() >= 3 && row.number.size() <= 46);
      bool digit = false;
      for (const char c : row.number) {
        FUZZ_CHECK(FieldAccepts(FilterKind::kDialString, uint8_t(c)));
        digit = digit || (c >= '0' && c <= '9');
      }
      FUZZ_CHECK(digit);
    }
  }
  for (const ctl::PhonebookRow& row : imported.rows) {
    for (const int member : row.members)
      FUZZ_CHECK(slots.contains(member));
  }
}

inline bool SameRows(const std::vector<ctl::PhonebookRow>& a,
                     const std::vector<ctl::PhonebookRow>& b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].speedDial != b[i].speedDial || a[i].name != b[i].name || a[i].group != b[i].group ||
        a[i].members != b[i].members || (!a[i].group && a[i].number != b[i].number))
      return false;
  }
  return true;
}

}  // namespace vornik::fuzz
