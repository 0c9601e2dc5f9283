// The characters each text field that goes to the device may hold: the rule the panel's
// filtered edit fields apply to typed keys, and vornikctl to the values it is given.
#pragma once

namespace vornik {

// Which characters a field accepts (backspace always, for typing).
enum class FilterKind {
  kDigits,      // '0' to '9', space, '+'
  kName,        // letters, digits, space and + - , . ' / * # &
  kDialString,  // '0' to '9', '#', '*', 'p', 'P'
};

// Whether a field of `kind` accepts the character `code` (backspace, 8, included).
bool FieldAccepts(FilterKind kind, int code);

}  // namespace vornik
