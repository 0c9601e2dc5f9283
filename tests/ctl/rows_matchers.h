// Comparing phonebook rows and import errors in the vornikctl tests.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

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

inline std::string Repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i)
    all += text;
  return all;
}

// A text that goes past one of the phonebook's limits, and what is read of it.
struct LimitCase {
  std::string what;
  std::string text;
  size_t rows;  // how many are taken
  std::vector<RowError> errors;
};

// Reads each case's text with `parse` for a phonebook of 100 speed dials.
template <typename Parse>
void ExpectReadUpToTheLimits(Parse parse, const std::vector<LimitCase>& cases) {
  for (const LimitCase& c : cases) {
    const ImportedPhonebook read = parse(c.text, 100);
    EXPECT_EQ(read.rows.size(), c.rows) << c.what;
    EXPECT_EQ(read.errors, c.errors) << c.what;
  }
}

}  // namespace vornik::ctl
