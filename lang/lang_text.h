// Localized text: the language file chosen at start-up and the lookup of one text by
// section and key. Every caption, label and list item of the windows comes from here.
#pragma once

#include <cstddef>
#include <string>

namespace vornik {

// The language-selection file, in the first of the program's data folders that holds it:
// section "LANGUAGE", key "FILE" names the language file in the same folder.
inline constexpr const char* kLanguageSelectionFile = "vornik.ini";

// `TextBuffer` holds at most this many characters and a terminating zero.
inline constexpr size_t kLangTextMaxLength = 254;
// A FILE value is read into a buffer of this size: at most 15 characters are used.
inline constexpr size_t kLanguageFileNameSize = 16;

// The selection file's folder followed by the FILE value; set by `ChooseLanguageFile`.
extern std::string LanguageFilePath;
// The one buffer every `LangText` call fills and returns.
extern char TextBuffer[256];

// Reads the FILE value from the selection file (platform/program_folders.h: beside the
// program first, then the install's data folder) and sets `LanguageFilePath`. Never fails
// visibly: without the file or the value the path is the program directory itself, and
// every lookup gives the empty text.
void ChooseLanguageFile();

// The text of `key` in `section` of the language file, or the empty text when the file,
// section or key is missing. Never null. The text stays valid only until the next call,
// which overwrites the same buffer: hand it on or copy it at once. It is display text only,
// never a format.
const char* LangText(const char* section, const char* key);

}  // namespace vornik
