// Comparing phonebook rows and import errors in the vornikctl tests.
#pragma once

#include <ostream>
#include <tuple>

#include "ctl/phonebook_rows.h"

namespace vornik::ctl {

inline auto Fields(const PhonebookRow& row) {
  return std::tie(row.speedDial, row.name, row.number, row.group, row.members);
}
inline bool operator==(const PhonebookRow& a, const PhonebookRow& b) {
  return Fields(a) == Fields(b);
}
inline void PrintTo(const PhonebookRow& row, std::ostream* out) {
  *out << "{" << row.speedDial << ", \"" << row.name << "\", \"" << row.number << "\", "
       << (row.group ? "group" : "entry") << ", members";
  for (int member : row.members)
    *out << " " << member;
  *out << "}";
}

inline bool operator==(const RowError& a, const RowError& b) {
  return a.line == b.line && a.reason == b.reason;
}
inline void PrintTo(const RowError& error, std::ostream* out) {
  *out << "line " << error.line << ": " << error.reason;
}

inline PhonebookRow Entry(int speedDial, std::string name, std::string number) {
  return {speedDial, std::move(name), std::move(number), false, {}};
}
inline PhonebookRow Group(int speedDial, std::string name, std::vector<int> members) {
  return {speedDial, std::move(name), "", true, std::move(members)};
}

}  // namespace vornik::ctl
