// The small text rules of vornikctl's formats and values, on ASCII letters only: the
// device's texts and the files' keywords are ASCII, and a byte of 128 or more is left as
// it is (the field rules refuse it later, with the text as given).
#pragma once

#include <string>
#include <string_view>

namespace vornik::ctl {

std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);

// Without the blanks and tabs at either end.
std::string TrimmedBlanks(std::string_view text);

// The text with every control character (a device's or a file's bytes may hold any) shown
// as '?', so that it cannot steer a terminal or break a line of a file.
std::string Printable(std::string_view text);

}  // namespace vornik::ctl
