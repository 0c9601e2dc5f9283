#include "link/field_characters.h"

#include <cstring>

namespace vornik {
namespace {

constexpr int kBackspace = 8;

bool IsDigit(int code) {
  return code >= '0' && code <= '9';
}
bool IsLetter(int code) {
  return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

}  // namespace

bool FieldAccepts(FilterKind kind, int code) {
  if (code == kBackspace)
    return true;
  switch (kind) {
    case FilterKind::kDigits:
      return IsDigit(code) || code == ' ' || code == '+';
    case FilterKind::kName:
      return IsLetter(code) || IsDigit(code) || code == ' ' ||
             (code > 0 && std::strchr("+-,.'/*#&", code) != nullptr);
    case FilterKind::kDialString:
      return IsDigit(code) || code == '#' || code == '*' || code == 'p' || code == 'P';
  }
  return false;
}

}  // namespace vornik
