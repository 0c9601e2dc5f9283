// Which language the panel speaks: the language file it reads its texts from, chosen once at
// start-up. The selection file's FILE value wins when it names a file that exists; otherwise
// the system locale picks one of the shipped languages; otherwise English. VORNIK_LANG names
// a shipped language that overrides both, for testing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// A language that ships with the panel.
struct ShippedLanguage {
  const char* code;          // the language part of a locale name
  const char* languageFile;  // its file in the program's data folders
};

inline constexpr ShippedLanguage kShippedLanguages[] = {
    {"en", "english.lng"}, {"de", "german.lng"}, {"fr", "french.lng"}, {"es", "spanish.lng"}};

// The language of every choice that finds nothing better.
inline constexpr const ShippedLanguage& kEnglish = kShippedLanguages[0];

// The environment variable whose shipped language overrides every other choice.
inline constexpr const char* kLanguageOverrideVariable = "VORNIK_LANG";

// The shipped language of a locale name ("de_DE.UTF-8@euro", "de"): its language part,
// up to the first '_', '.' or '@', in any letter case. Null for any other language, "C" and
// "POSIX" among them.
const ShippedLanguage* ShippedLanguageOfLocale(std::string_view localeName);

// The shipped language whose file `fileName` names (its last path part, in any letter
// case), or null for a language file of the user's own.
const ShippedLanguage* ShippedLanguageOfFile(std::string_view fileName);

// The locale that decides the language of messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty, as the C library takes it; empty when none is.
std::string MessagesLocale();

struct LanguageChoice {
  std::string filePath;                       // the language file to read
  const ShippedLanguage* language = nullptr;  // null for a language file of the user's own
};

// Chooses the language file. `dataFolders` are the program's data folders in search order
// (platform/program_folders.h); the selection file is the first of them that holds one, and
// its FILE value (at most 15 characters) names a file in its own folder. A shipped language
// is taken from the first data folder that holds its file. When no file is found at all the
// result is English in the place it is expected, and every lookup gives the empty text.
LanguageChoice ChooseLanguage(const std::vector<std::string>& dataFolders);

}  // namespace vornik
