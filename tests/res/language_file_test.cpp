// The English language file holds every key the program asks for: the keys of the
// templates and menus, and every literal `LangText`/`LangString` call in the sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "english_texts.h"
#include "res/menus.h"
#include "res/templates.h"

namespace vornik::res {
namespace {

namespace fs = std::filesystem;

using Key = std::pair<std::string, std::string>;

std::set<Key> TemplateAndMenuKeys() {
  std::set<Key> keys;
  for (const DialogTemplate* dialog : AllTemplates()) {
    keys.insert({dialog->langSection, "CAPTION"});
    for (const ControlTemplate& control : dialog->controls) {
      if (control.langKey != nullptr) {
        keys.insert({dialog->langSection, control.langKey});
      }
      for (const char* item : control.itemKeys) {
        keys.insert({dialog->langSection, item});
      }
    }
  }
  for (const MenuTemplate* menu : {&kMenu129, &kMenu130}) {
    for (const PopupTemplate& popup : menu->popups) {
      keys.insert({kMenuSection, popup.langKey});
      for (const MenuItemTemplate& item : popup.items) {
        if (item.langKey != nullptr) {
          keys.insert({kMenuSection, item.langKey});
        }
      }
    }
  }
  return keys;
}

// Literal lookups in the program's sources (tests are not the program).
std::set<Key> SourceLookups() {
  static const std::regex call(R"re(Lang(?:Text|String)\(\s*"([^"]+)"\s*,\s*"([^"]+)"\s*\))re");
  std::set<Key> keys;
  for (const auto& entry : fs::recursive_directory_iterator(VORNIK_SOURCE_DIR)) {
    const std::string path = entry.path().string();
    const std::string relative = path.substr(std::string(VORNIK_SOURCE_DIR).size());
    if (!entry.is_regular_file() || relative.rfind("/tests/", 0) == 0 ||
        relative.rfind("/build", 0) == 0 || relative.rfind("/.", 0) == 0) {
      continue;
    }
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") {
      continue;
    }
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it) {
      keys.insert({(*it)[1].str(), (*it)[2].str()});
    }
  }
  return keys;
}

TEST(EnglishLanguageFile, HoldsEveryKeyTheProgramAsksFor) {
  test::EnglishTexts english;
  const std::set<Key> lookups = SourceLookups();
  // The not-responding box is one of the callers: the scan does see the sources.
  ASSERT_TRUE(lookups.count({"COMMON", "IDS_NOT_RESPOND"}));
  std::set<Key> keys = TemplateAndMenuKeys();
  keys.insert(lookups.begin(), lookups.end());
  for (const auto& [section, key] : keys) {
    EXPECT_STRNE(LangText(section.c_str(), key.c_str()), "") << "[" << section << "] " << key;
  }
}

TEST(EnglishLanguageFile, IsInstalledBesideTheProgramAndChosenByTheSelectionFile) {
  test::EnglishTexts english;
  EXPECT_EQ(LanguageFilePath, VORNIK_PROGRAM_DIR "/english.lng");
  std::ifstream installed(LanguageFilePath, std::ios::binary);
  std::ifstream source(VORNIK_SOURCE_DIR "/res/lang/english.lng", std::ios::binary);
  std::stringstream a;
  std::stringstream b;
  a << installed.rdbuf();
  b << source.rdbuf();
  EXPECT_FALSE(a.str().empty());
  EXPECT_EQ(a.str(), b.str());
  // Spot checks of texts whose blanks matter.
  EXPECT_STREQ(LangText("MAIN", "IDC_EXIT"), "  E&xit");
  EXPECT_STREQ(LangText("ADVANCED", "IDL_TOLL_SAVER"), "Toll saver  ");
  EXPECT_STREQ(LangText("SETTINGS", "Plain Paper"), "Plain Paper");
}

TEST(EnglishLanguageFile, NoValueIsLongerThanALookupReturns) {
  std::ifstream in(VORNIK_SOURCE_DIR "/res/lang/english.lng");
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    ++lines;
    const size_t equals = line.find('=');
    if (equals != std::string::npos && line[0] != ';') {
      EXPECT_LE(line.size() - equals - 1, kLangTextMaxLength) << line;
    }
  }
  EXPECT_GT(lines, 100);
}

}  // namespace
}  // namespace vornik::res
