// Localized text: the language file chosen at start-up and the lookup of one text by
// section and key. Every caption, label and list item of the windows comes from here.
// Language files are UTF-8: on Linux the 8-bit code page of the texts is the locale's
// encoding, which the panel, like Qt, takes to be UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace vornik {

struct ShippedLanguage;

// The language-selection file, in the first of the program's data folders that holds it:
// section "LANGUAGE", key "FILE" names the language file in the same folder.
inline constexpr const char* kLanguageSelectionFile = "vornik.ini";

// `TextBuffer` holds at most this many bytes and a terminating zero.
inline constexpr size_t kLangTextMaxLength = 254;
// A FILE value is read into a buffer of this size: at most 15 characters are used.
inline constexpr size_t kLanguageFileNameSize = 16;

// The language file every lookup reads; set by `ChooseLanguageFile`.
extern std::string LanguageFilePath;
// The shipped language of that file (lang/language_choice.h); null before the choice and
// for a language file of the user's own.
extern const ShippedLanguage* ChosenLanguage;
// The one buffer every `LangText` call fills and returns.
extern char TextBuffer[256];

// Chooses the language file among the program's data folders (platform/program_folders.h:
// beside the program first, then the install's data folder) by the rule of
// `ChooseLanguage` and sets `LanguageFilePath` and `ChosenLanguage`. Never fails visibly:
// without any language file every lookup gives the empty text.
void ChooseLanguageFile();

// The text of `key` in `section` of the language file, or the empty text when the file,
// section or key is missing. A value longer than 254 bytes is cut there, and a character
// the cut would split is left out whole. Never null. The text stays valid only until the next call,
// which overwrites the same buffer: hand it on or copy it at once. It is display text only,
// never a format.
const char* LangText(const char* section, const char* key);

}  // namespace vornik
