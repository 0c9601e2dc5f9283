#include "lang/lang_profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace vornik {
namespace {

// Section and key names longer than this never match: the program asks for short names
// only, and a bounded copy keeps a hostile file from costing memory.
constexpr size_t kMaxNameLength = 255;

bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Hands out the bytes of a file one at a time from a block buffer; -1 at the end (a file
// that cannot be read, such as a directory, simply ends at once).
class ByteStream {
 public:
  explicit ByteStream(std::FILE* file) : file_(file) {}

  int next() {
    if (pos_ == end_ && !fill()) {
      return -1;
    }
    return static_cast<unsigned char>(block_[pos_++]);
  }

  // A file saved as UTF-8 by some editors starts with the byte-order mark EF BB BF, which
  // is no part of its first line. Called before the first next().
  void skipByteOrderMark() {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (fill() && std::string_view(block_, end_).starts_with(kMark)) {
      pos_ = kMark.size();
    }
  }

 private:
  bool fill() {
    end_ = std::fread(block_, 1, sizeof block_, file_);
    pos_ = 0;
    return end_ > 0;
  }

  std::FILE* file_;
  char block_[4096];
  size_t pos_ = 0;
  size_t end_ = 0;
};

bool IsLineEnd(int c) {
  return c == '\n' || c == -1;
}

int SkipRestOfLine(ByteStream& in, int c) {
  while (!IsLineEnd(c)) {
    c = in.next();
  }
  return c;
}

// A section or key name read up to `stop` or the end of the line, without the blanks
// around it. `tooLong` marks a name that was longer than any name the program asks for.
struct Name {
  std::string text;
  bool tooLong = false;

  void add(int c) {
    if (text.size() < kMaxNameLength + 1) {
      text.push_back(static_cast<char>(c));
    } else {
      tooLong = true;
    }
  }

  bool matches(const char* wanted) const {
    std::string_view view = text;
    while (!view.empty() && IsBlank(static_cast<unsigned char>(view.back()))) {
      view.remove_suffix(1);
    }
    return !tooLong && view.size() <= kMaxNameLength && SameNameIgnoringCase(view, wanted);
  }
};

// Reads a name that begins with `c` up to `stop` (exclusive) or the end of the line; the
// leading blanks were skipped before. Returns the character that ended it.
int ReadName(ByteStream& in, int c, char stop, Name& name) {
  while (!IsLineEnd(c) && c != stop) {
    name.add(c);
    c = in.next();
  }
  return c;
}

// Reads the rest of a value line (after the equals sign) and copies the value into
// `buffer` by the profile rules. Only the first `size` bytes after the leading blanks are
// kept: enough for `size` - 1 bytes of content behind an opening quotation mark.
size_t ReadValue(ByteStream& in, char* buffer, size_t size) {
  int c = in.next();
  while (IsBlank(c)) {
    c = in.next();
  }
  std::unique_ptr<char[]> head(new char[size]);
  size_t kept = 0;
  size_t length = 0;  // bytes of the value up to its last non-blank byte
  size_t seen = 0;    // bytes of the value so far, trailing blanks included
  int lastNonBlank = -1;
  for (; !IsLineEnd(c); c = in.next()) {
    if (kept < size) {
      head[kept++] = static_cast<char>(c);
    }
    ++seen;
    if (!IsBlank(c)) {
      length = seen;
      lastNonBlank = c;
    }
  }
  size_t start = 0;
  if (length >= 2 && (head[0] == '"' || head[0] == '\'') && lastNonBlank == head[0]) {
    start = 1;
    length -= 2;
  }
  const size_t count = std::min({length, size - 1, kept - start});
  std::memcpy(buffer, head.get() + start, count);
  buffer[count] = '\0';
  return count;
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

size_t ReadProfileString(const std::string& path, const char* section, const char* key,
                         char* buffer, size_t size) {
  if (size == 0) {
    return 0;
  }
  buffer[0] = '\0';
  if (section == nullptr || key == nullptr) {
    return 0;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return 0;
  }
  ByteStream in(file.get());
  in.skipByteOrderMark();
  bool inSection = false;
  for (int c = in.next(); c != -1; c = in.next()) {
    while (IsBlank(c)) {
      c = in.next();
    }
    if (c == '[') {
      Name name;
      c = in.next();
      while (IsBlank(c)) {
        c = in.next();
      }
      c = ReadName(in, c, ']', name);
      inSection = name.matches(section);
    } else if (c == ';' || IsLineEnd(c)) {
      // A comment or an empty line.
    } else {
      Name name;
      c = ReadName(in, c, '=', name);
      if (c == '=' && inSection && name.matches(key)) {
        return ReadValue(in, buffer, size);
      }
    }
    c = SkipRestOfLine(in, c);
    if (c == -1) {
      break;
    }
  }
  return 0;
}

}  // namespace vornik
