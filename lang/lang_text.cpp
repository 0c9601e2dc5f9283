#include "lang/lang_text.h"

#include "lang/lang_profile.h"
#include "platform/platform.h"
#include "platform/program_folders.h"

namespace vornik {

std::string LanguageFilePath;
char TextBuffer[256];

void ChooseLanguageFile() {
  const auto folders = platform::FoldersOfProgram(platform::Services().system->programPath());
  LanguageFilePath = platform::FindProgramFile(folders.data, kLanguageSelectionFile);
  char fileName[kLanguageFileNameSize];
  ReadProfileString(LanguageFilePath, "LANGUAGE", "FILE", fileName, sizeof fileName);
  // The language file lies in the folder of the selection file that named it.
  LanguageFilePath.erase(LanguageFilePath.find_last_of('/') + 1);
  LanguageFilePath += fileName;
}

const char* LangText(const char* section, const char* key) {
  // The size passed is one short of the buffer: a longer value keeps 254 characters.
  ReadProfileString(LanguageFilePath, section, key, TextBuffer, kLangTextMaxLength + 1);
  return TextBuffer;
}

}  // namespace vornik
