// The phonebook as CSV (RFC 4180): a header line, then one row per entry.
//
//   speed_dial,name,phone_number,members
//   0,FRONT DESK,5550100,
//   19,ALL BRANCHES,,0 1 2 3
//
// A group dial has no phone number; its members are the speed dials of its members,
// separated by blanks. Fields holding a comma, a quote or a line break are quoted, a quote
// doubled. Lines end in CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ctl/phonebook_rows.h"

namespace vornik::ctl {

std::string WriteCsvPhonebook(const std::vector<PhonebookRow>& rows);

// Reads CSV text for a phonebook of `speedDials` entries. The header names the columns in
// any order (name and phone_number are needed; speed_dial and members may be left out); LF
// alone also ends a line, blank lines are skipped, a UTF-8 byte order mark is passed over.
// A row without a speed dial takes the lowest one left free. Every row that cannot be
// taken is an error at the line where it begins, with the reason.
ImportedPhonebook ParseCsvPhonebook(std::string_view text, int speedDials);

}  // namespace vornik::ctl
