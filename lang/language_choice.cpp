#include "lang/language_choice.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "lang/lang_profile.h"
#include "lang/lang_text.h"
#include "platform/program_folders.h"

namespace vornik {
namespace {

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The shipped language's file in the first data folder that holds it, if one does.
std::optional<LanguageChoice> ShippedFile(const ShippedLanguage* language,
                                          const std::vector<std::string>& dataFolders) {
  if (language == nullptr)
    return std::nullopt;
  std::string path = platform::FindProgramFile(dataFolders, language->languageFile);
  if (!IsFile(path))
    return std::nullopt;
  return LanguageChoice{std::move(path), language};
}

// The file the selection file names, in the selection file's folder, if it exists.
std::optional<LanguageChoice> SelectedFile(const std::vector<std::string>& dataFolders) {
  std::string path = platform::FindProgramFile(dataFolders, kLanguageSelectionFile);
  char fileName[kLanguageFileNameSize];
  if (ReadProfileString(path, "LANGUAGE", "FILE", fileName, sizeof fileName) == 0)
    return std::nullopt;
  path.erase(path.find_last_of('/') + 1);
  path += fileName;
  if (!IsFile(path))
    return std::nullopt;
  return LanguageChoice{std::move(path), ShippedLanguageOfFile(fileName)};
}

}  // namespace

const ShippedLanguage* ShippedLanguageOfLocale(std::string_view localeName) {
  const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@"));
  for (const ShippedLanguage& shipped : kShippedLanguages) {
    if (SameNameIgnoringCase(language, shipped.code))
      return &shipped;
  }
  return nullptr;
}

const ShippedLanguage* ShippedLanguageOfFile(std::string_view fileName) {
  const size_t separator = fileName.find_last_of('/');
  if (separator != std::string_view::npos)
    fileName.remove_prefix(separator + 1);
  for (const ShippedLanguage& shipped : kShippedLanguages) {
    if (SameNameIgnoringCase(fileName, shipped.languageFile))
      return &shipped;
  }
  return nullptr;
}

std::string MessagesLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (std::string value = Variable(name); !value.empty())
      return value;
  }
  return {};
}

LanguageChoice ChooseLanguage(const std::vector<std::string>& dataFolders) {
  const auto overridden =
      ShippedFile(ShippedLanguageOfLocale(Variable(kLanguageOverrideVariable)), dataFolders);
  if (overridden)
    return *overridden;
  if (auto selected = SelectedFile(dataFolders))
    return *selected;
  if (auto localized = ShippedFile(ShippedLanguageOfLocale(MessagesLocale()), dataFolders))
    return *localized;
  return {platform::FindProgramFile(dataFolders, kEnglish.languageFile), &kEnglish};
}

}  // namespace vornik
