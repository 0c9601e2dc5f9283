// The profile (INI) reader behind the language file and the language selection, whatever
// the file holds. Every value fits its buffer with its terminator; a smaller buffer gets
// the start of what a larger one gets; a UTF-8 byte-order mark in front changes nothing.
// The names asked for are a few the program uses and the first section and key the file
// names itself.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "lang/lang_profile.h"

namespace {

constexpr size_t kNameLimit = 64;

// The first "[section]" of the text and the first "key=" after it, or empty names.
std::pair<std::string, std::string> FirstNames(std::string_view text) {
  std::string section, key;
  const size_t open = text.find('[');
  const size_t close = text.find(']', open);
  if (open == std::string_view::npos || close == std::string_view::npos)
    return {};
  section = text.substr(open + 1, std::min(close - open - 1, kNameLimit));
  const size_t lineStart = text.find('\n', close);
  const size_t equals = text.find('=', lineStart);
  if (lineStart != std::string_view::npos && equals != std::string_view::npos)
    key = text.substr(lineStart + 1, std::min(equals - lineStart - 1, kNameLimit));
  return {section, key};
}

std::string Read(const std::string& path, const std::string& section, const std::string& key,
                 size_t size) {
  std::vector<char> buffer(size, '\x7F');
  const size_t count =
      vornik::ReadProfileString(path, section.c_str(), key.c_str(), buffer.data(), buffer.size());
  FUZZ_CHECK(count < size);
  FUZZ_CHECK(buffer[count] == '\0');
  return {buffer.data(), count};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const vornik::fuzz::InputFile file("lang.lng");
  static const vornik::fuzz::InputFile marked("marked.lng");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  file.write({data, size});
  const bool startsWithMark = text.starts_with("\xEF\xBB\xBF");
  if (!startsWithMark) {
    std::string withMark = "\xEF\xBB\xBF" + std::string(text);
    marked.write({reinterpret_cast<const uint8_t*>(withMark.data()), withMark.size()});
  }

  const auto [section, key] = FirstNames(text);
  const std::pair<std::string, std::string> lookups[] = {
      {"LANGUAGE", "FILE"}, {"MAIN", "CAPTION"}, {"COMMON", "IDS_NOT_RESPOND"}, {section, key}};
  for (const auto& [s, k] : lookups) {
    const std::string whole = Read(file.path(), s, k, 255);
    for (size_t smaller : {1, 16})
      FUZZ_CHECK(Read(file.path(), s, k, smaller) == whole.substr(0, smaller - 1));
    if (!startsWithMark)
      FUZZ_CHECK(Read(marked.path(), s, k, 255) == whole);
  }
  return 0;
}
