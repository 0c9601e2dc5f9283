#include "lang/lang_text.h"

#include "lang/lang_profile.h"
#include "lang/language_choice.h"
#include "platform/platform.h"
#include "platform/program_folders.h"

namespace vornik {
namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How many bytes the UTF-8 character that begins with `lead` takes.
size_t CharacterLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if ((byte & 0xE0) == 0xC0)
    return 2;
  if ((byte & 0xF0) == 0xE0)
    return 3;
  if ((byte & 0xF8) == 0xF0)
    return 4;
  return 1;
}

// The length of `text` without a last character that lacks some of its bytes.
size_t WholeCharactersLength(const char* text, size_t length) {
  size_t lead = length;
  while (lead > 0 && length - lead < 4 && IsContinuationByte(text[lead - 1]))
    --lead;
  if (lead == 0)
    return length;
  --lead;
  return length - lead < CharacterLength(text[lead]) ? lead : length;
}

}  // namespace

std::string LanguageFilePath;
const ShippedLanguage* ChosenLanguage = nullptr;
char TextBuffer[256];

void ChooseLanguageFile() {
  const auto folders = platform::FoldersOfProgram(platform::Services().system->programPath());
  LanguageChoice choice = ChooseLanguage(folders.data);
  LanguageFilePath = std::move(choice.filePath);
  ChosenLanguage = choice.language;
}

const char* LangText(const char* section, const char* key) {
  // The size passed is one short of the buffer: a longer value keeps 254 bytes.
  const size_t length =
      ReadProfileString(LanguageFilePath, section, key, TextBuffer, kLangTextMaxLength + 1);
  if (length == kLangTextMaxLength)
    TextBuffer[WholeCharactersLength(TextBuffer, length)] = '\0';
  return TextBuffer;
}

}  // namespace vornik
