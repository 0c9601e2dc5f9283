#include "link/debug_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace vornik {
namespace {

constexpr size_t kTraceLineSize = 256;

std::string Format(const char* format, va_list args) {
  char line[kTraceLineSize];
  const int n = std::vsnprintf(line, sizeof line, format, args);
  return std::string(line, n < 0 ? 0 : std::min<size_t>(size_t(n), sizeof line - 1));
}

}  // namespace

void DebugTrace(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string line = Format(format, args);
  va_end(args);
  line += '\r';
  platform::Services().debug->write(line);
}

void DebugPrint(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string line = Format(format, args);
  va_end(args);
  platform::Services().debug->write(line);
}

void DebugHexDump(const uint8_t* bytes, size_t count) {
  constexpr size_t kPerLine = 8;
  for (size_t offset = 0; offset < count; offset += kPerLine) {
    char field[16];
    std::snprintf(field, sizeof field, "%#04x: ", unsigned(offset));
    std::string line = field;
    for (size_t i = offset; i < offset + kPerLine; ++i) {
      std::snprintf(field, sizeof field, "%02X ", i < count ? bytes[i] : 0u);
      line += field;
    }
    for (size_t i = offset; i < offset + kPerLine && i < count; ++i) {
      const uint8_t c = bytes[i];
      line += (c >= 0x20 && c < 0x7F) ? char(c) : '.';
    }
    line += "\r\n";
    platform::Services().debug->write(line);
  }
}

char* TrimTrailingBlanks(char* text) {
  for (size_t n = std::strlen(text); n > 0 && text[n - 1] == ' '; --n)
    text[n - 1] = '\0';
  return text;
}

}  // namespace vornik
