// The program's debug output: formatted traces, hex dumps of frames, and the blank trim
// shared by every command that reads names from the device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornik {

// Formats into a 256-character line, appends a carriage return and writes the line.
// `format` is always one of the program's own texts, never data.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes the formatted text exactly as formatted (no carriage return added).
void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// One line per run of eight bytes: "%#04x: " offset, eight "%02X " fields (0 past
// `count`), the printable characters of the run ("." for others), then "\r\n".
void DebugHexDump(const uint8_t* bytes, size_t count);

// Overwrites trailing blanks with zero bytes, in place; returns `text`.
char* TrimTrailingBlanks(char* text);

}  // namespace vornik
