#include "ctl/ascii_text.h"

namespace vornik::ctl {

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z')
      c = char(c - 'a' + 'A');
  return upper;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  return lower;
}

std::string TrimmedBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string Printable(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F)
      c = '?';
  }
  return shown;
}

}  // namespace vornik::ctl
