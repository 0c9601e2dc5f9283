#include "lang/language_choice.h"

#include <string>

#include "lang_fixture.h"

namespace vornik::test {
namespace {

// The four shipped files and one of the user's own, each naming itself in MAIN/CAPTION.
class LanguageChoiceTest : public LangFileTest {
 protected:
  void writeLanguageFiles(const std::string& folder = "") {
    for (const char* name : {"english.lng", "german.lng", "french.lng", "spanish.lng", "mine.lng"})
      write(folder + name, std::string("[MAIN]\nCAPTION=") + name + "\n");
  }

  // Chooses, then checks the path, the shipped language and that lookups read that file.
  void expectChoice(const std::string& file, const char* code) {
    ChooseLanguageFile();
    EXPECT_EQ(LanguageFilePath, directory() + file);
    if (code == nullptr) {
      EXPECT_EQ(ChosenLanguage, nullptr);
    } else {
      ASSERT_NE(ChosenLanguage, nullptr);
      EXPECT_STREQ(ChosenLanguage->code, code);
    }
    const std::string name = file.substr(file.find_last_of('/') + 1);
    EXPECT_EQ(std::string(LangText("MAIN", "CAPTION")), name);
  }
};

TEST_F(LanguageChoiceTest, OverrideThenSelectionFileThenLocaleThenEnglish) {
  writeLanguageFiles();
  const struct {
    const char* selection;  // the FILE line of vornik.ini; null: no vornik.ini
    const char* forced;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* file;
    const char* code;
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr, nullptr, "english.lng", "en"},
      {nullptr, nullptr, nullptr, nullptr, "de_DE.UTF-8", "german.lng", "de"},
      {nullptr, nullptr, nullptr, "fr_CA.UTF-8", "de_DE.UTF-8", "french.lng", "fr"},
      {nullptr, nullptr, "es_ES@euro", "fr_FR", "de_DE", "spanish.lng", "es"},
      {nullptr, nullptr, "", "", "es", "spanish.lng", "es"},
      {nullptr, nullptr, "C", nullptr, "de_DE.UTF-8", "english.lng", "en"},
      {nullptr, nullptr, nullptr, "POSIX", "fr_FR.UTF-8", "english.lng", "en"},
      {nullptr, nullptr, nullptr, nullptr, "ja_JP.UTF-8", "english.lng", "en"},
      {nullptr, nullptr, nullptr, nullptr, "C.UTF-8", "english.lng", "en"},
      {nullptr, nullptr, nullptr, nullptr, "deu", "english.lng", "en"},
      {nullptr, nullptr, nullptr, nullptr, "FR.UTF-8", "french.lng", "fr"},
      {"FILE=french.lng", nullptr, nullptr, nullptr, "de_DE.UTF-8", "french.lng", "fr"},
      {"FILE = \"mine.lng\"", nullptr, "es_ES", nullptr, nullptr, "mine.lng", nullptr},
      {"FILE=absent.lng", nullptr, nullptr, nullptr, "de_DE.UTF-8", "german.lng", "de"},
      {"FILE=", nullptr, nullptr, nullptr, "es_MX.UTF-8", "spanish.lng", "es"},
      {"; FILE=german.lng", nullptr, nullptr, nullptr, nullptr, "english.lng", "en"},
      {"FILE=.", nullptr, nullptr, nullptr, "fr", "french.lng", "fr"},
      {"FILE=french.lng", "de", "es_ES", nullptr, nullptr, "german.lng", "de"},
      {"FILE=mine.lng", "es_ES.UTF-8", nullptr, nullptr, nullptr, "spanish.lng", "es"},
      {nullptr, "en", nullptr, nullptr, "de_DE.UTF-8", "english.lng", "en"},
      {"FILE=french.lng", "xx", nullptr, nullptr, nullptr, "french.lng", "fr"},
      {nullptr, "", nullptr, nullptr, "de_AT", "german.lng", "de"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(
        std::string(c.selection ? c.selection : "(no vornik.ini)") +
        " VORNIK_LANG=" + (c.forced ? c.forced : "-") + " LC_ALL=" + (c.lcAll ? c.lcAll : "-") +
        " LC_MESSAGES=" + (c.lcMessages ? c.lcMessages : "-") + " LANG=" + (c.lang ? c.lang : "-"));
    std::filesystem::remove(dir_ / kLanguageSelectionFile);
    if (c.selection != nullptr)
      write(kLanguageSelectionFile, std::string("[LANGUAGE]\n") + c.selection + "\n");
    ScopedEnv forced(kLanguageOverrideVariable, c.forced);
    ScopedEnv lcAll("LC_ALL", c.lcAll);
    ScopedEnv lcMessages("LC_MESSAGES", c.lcMessages);
    ScopedEnv lang("LANG", c.lang);
    expectChoice(c.file, c.code);
  }
}

TEST_F(LanguageChoiceTest, ShippedLanguageWithoutItsFileGivesWayToTheNextRule) {
  writeLanguageFiles();
  std::filesystem::remove(dir_ / "german.lng");
  ScopedEnv lang("LANG", "de_DE.UTF-8");
  expectChoice("english.lng", "en");

  write(kLanguageSelectionFile, "[LANGUAGE]\nFILE=french.lng\n");
  ScopedEnv forced(kLanguageOverrideVariable, "de");
  expectChoice("french.lng", "fr");

  // Without any language file the texts are empty and English is where it is expected.
  for (const char* name : {"english.lng", "french.lng", "spanish.lng", "mine.lng"})
    std::filesystem::remove(dir_ / name);
  ChooseLanguageFile();
  EXPECT_EQ(LanguageFilePath, directory() + "english.lng");
  EXPECT_EQ(ChosenLanguage, &kEnglish);
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "");
}

TEST_F(LanguageChoiceTest, SelectionValueIsCutTo15Characters) {
  writeLanguageFiles();
  write(kLanguageSelectionFile, "[LANGUAGE]\nFILE=german.lng.backup\n");
  write("german.lng.back", "[MAIN]\nCAPTION=german.lng.back\n");
  expectChoice("german.lng.back", nullptr);
  write(kLanguageSelectionFile, "[LANGUAGE]\nFILE=sub/german.lng\n");
  std::filesystem::create_directories(dir_ / "sub");
  write("sub/german.lng", "[MAIN]\nCAPTION=german.lng\n");
  expectChoice("sub/german.lng", "de");
}

TEST_F(LanguageChoiceTest, InstalledProgramFindsItsFilesBesideItselfFirst) {
  std::filesystem::create_directories(dir_ / "bin");
  std::filesystem::create_directories(dir_ / "share/vornik");
  platform_.system.path = (dir_ / "bin/vornik").string();
  writeLanguageFiles("share/vornik/");
  ScopedEnv lang("LANG", "fr_FR.UTF-8");
  expectChoice("share/vornik/french.lng", "fr");

  write("bin/french.lng", "[MAIN]\nCAPTION=french.lng\n");
  expectChoice("bin/french.lng", "fr");

  // The selection file names a file in its own folder.
  write("share/vornik/vornik.ini", "[LANGUAGE]\nFILE=spanish.lng\n");
  expectChoice("share/vornik/spanish.lng", "es");
  write("bin/vornik.ini", "[LANGUAGE]\nFILE=spanish.lng\n");
  expectChoice("bin/french.lng", "fr");
  write("bin/vornik.ini", "[LANGUAGE]\nFILE=french.lng\n");
  expectChoice("bin/french.lng", "fr");
}

}  // namespace
}  // namespace vornik::test
