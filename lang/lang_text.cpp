#include "lang/lang_text.h"

#include "lang/lang_profile.h"
#include "platform/platform.h"

namespace vornik {

std::string LanguageFilePath;
char TextBuffer[256];

std::string ProgramDirectory() {
  std::string path = platform::Services().system->programPath();
  const size_t separator = path.find_last_of('/');
  path.erase(separator == std::string::npos ? 0 : separator + 1);
  return path;
}

void ChooseLanguageFile() {
  const std::string directory = ProgramDirectory();
  char fileName[kLanguageFileNameSize];
  ReadProfileString(directory + kLanguageSelectionFile, "LANGUAGE", "FILE", fileName,
                    sizeof fileName);
  LanguageFilePath = directory + fileName;
}

const char* LangText(const char* section, const char* key) {
  // The size passed is one short of the buffer: a longer value keeps 254 characters.
  ReadProfileString(LanguageFilePath, section, key, TextBuffer, kLangTextMaxLength + 1);
  return TextBuffer;
}

}  // namespace vornik
