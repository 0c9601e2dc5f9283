// The profile (INI) reader behind every localized text: a line "[name]" opens a section,
// a line "key = value" gives a value. Section and key names match without regard to letter
// case; blanks around a value are dropped; a value enclosed in one matching pair of single
// or double quotation marks loses the marks; the bytes of a value are copied as they stand.
// A UTF-8 byte-order mark at the start of the file is skipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vornik {

// True when the two names are the same without regard to the case of the letters A to Z, as
// section and key names match.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// Copies the value of `key` in `section` of the file at `path` into `buffer`: at most
// `size` - 1 bytes and a terminating zero (a longer value is cut). A missing file, section
// or key gives the empty text. Returns the number of bytes copied, without the terminator.
// Reads the file as a stream, so neither its size nor the length of a line matters.
size_t ReadProfileString(const std::string& path, const char* section, const char* key,
                         char* buffer, size_t size);

}  // namespace vornik
