// The shipped language files: English holds every key the program asks for (the keys of the
// templates and menus, and every literal `LangText`/`LangString` call in the sources), and
// every other language holds exactly the English keys, each with a whole text that prints
// as the English one does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "lang/lang_profile.h"
#include "lang/language_choice.h"

#include "res/menus.h"
#include "res/templates.h"
#include "shipped_texts.h"

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

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path SourceFile(const char* name) {
  return fs::path(VORNIK_SOURCE_DIR "/res/lang") / name;
}

// The keys of a language file in the order they stand, each with its section, and the keys
// that stand twice in one section (a lookup only ever finds the first).
struct FileKeys {
  std::vector<Key> keys;
  std::vector<Key> repeated;
};

FileKeys KeysOf(const fs::path& path) {
  static const std::regex sectionLine(R"re(^\s*\[\s*([^\]]*?)\s*\].*)re");
  static const std::regex keyLine(R"re(^\s*([^;\[=\s][^=]*?)\s*=.*)re");
  FileKeys file;
  std::set<Key> seen;
  std::string section;
  std::istringstream in(FileText(path));
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, match, sectionLine)) {
      section = match[1];
    } else if (std::regex_match(line, match, keyLine)) {
      const Key key{section, match[1]};
      (seen.insert(key).second ? file.keys : file.repeated).push_back(key);
    }
  }
  return file;
}

std::string Value(const fs::path& path, const Key& key) {
  char value[4096];
  ReadProfileString(path.string(), key.first.c_str(), key.second.c_str(), value, sizeof value);
  return value;
}

// The printf conversions of a text in order: "%d", "%-5s", "%%"; a '%' that starts none
// stands as itself.
std::vector<std::string> Conversions(const std::string& text) {
  static const std::regex conversion(
      R"re(%[-+ #0']*(\*|[0-9]+)?(\.(\*|[0-9]+))?(hh|h|ll|l|L|q|j|z|t)?[diouxXeEfFgGaAcspn%]|%)re");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
    found.push_back(it->str());
  return found;
}

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || i + length > text.size())
      return false;
    for (size_t j = 1; j < length; ++j)
      if ((static_cast<unsigned char>(text[i + j]) & 0xC0) != 0x80)
        return false;
    i += length;
  }
  return true;
}

TEST(ShippedLanguageFiles, HoldExactlyTheEnglishSectionsAndKeysOnce) {
  const FileKeys english = KeysOf(SourceFile(kEnglish.languageFile));
  EXPECT_GT(english.keys.size(), 150u);
  const std::set<Key> englishKeys(english.keys.begin(), english.keys.end());
  for (const ShippedLanguage& language : kShippedLanguages) {
    SCOPED_TRACE(language.languageFile);
    const FileKeys file = KeysOf(SourceFile(language.languageFile));
    for (const auto& [section, key] : file.repeated)
      ADD_FAILURE() << "[" << section << "] " << key << " stands twice";
    const std::set<Key> keys(file.keys.begin(), file.keys.end());
    for (const auto& [section, key] : englishKeys)
      EXPECT_TRUE(keys.count({section, key})) << "missing [" << section << "] " << key;
    for (const auto& [section, key] : keys)
      EXPECT_TRUE(englishKeys.count({section, key}))
          << "not in English: [" << section << "] " << key;
  }
}

TEST(ShippedLanguageFiles, EveryValueIsAWholeUtf8TextThatPrintsLikeTheEnglishOne) {
  const fs::path englishPath = SourceFile(kEnglish.languageFile);
  const std::vector<Key> keys = KeysOf(englishPath).keys;
  for (const ShippedLanguage& language : kShippedLanguages) {
    SCOPED_TRACE(language.languageFile);
    const fs::path path = SourceFile(language.languageFile);
    for (const Key& key : keys) {
      SCOPED_TRACE("[" + key.first + "] " + key.second);
      const std::string value = Value(path, key);
      EXPECT_FALSE(value.empty());
      EXPECT_LE(value.size(), kLangTextMaxLength);
      EXPECT_TRUE(IsUtf8(value)) << value;
      EXPECT_EQ(Conversions(value), Conversions(Value(englishPath, key))) << value;
    }
  }
}

TEST(ShippedLanguageFiles, AreInstalledBesideTheProgramWithTheirHelpPages) {
  const auto expectCopied = [](const fs::path& source, const std::string& name) {
    const std::string installed = FileText(fs::path(VORNIK_PROGRAM_DIR) / name);
    EXPECT_FALSE(installed.empty()) << name;
    EXPECT_TRUE(installed == FileText(source)) << name << " differs from " << source;
  };
  for (const ShippedLanguage& language : kShippedLanguages) {
    SCOPED_TRACE(language.code);
    expectCopied(SourceFile(language.languageFile), language.languageFile);
    const std::string page = language.code == kEnglish.code
                                 ? std::string("vornik.html")
                                 : std::string("vornik.") + language.code + ".html";
    expectCopied(fs::path(VORNIK_SOURCE_DIR "/app/help") / page, page);

    test::ShippedTexts texts(language.code);
    EXPECT_EQ(LanguageFilePath, std::string(VORNIK_PROGRAM_DIR "/") + language.languageFile);
  }
  // The selection file that ships names no language file: the locale decides.
  const std::string selection = std::string(VORNIK_PROGRAM_DIR "/") + kLanguageSelectionFile;
  EXPECT_TRUE(fs::exists(selection));
  char fileName[kLanguageFileNameSize] = "x";
  EXPECT_EQ(ReadProfileString(selection, "LANGUAGE", "FILE", fileName, sizeof fileName), 0u);
}

TEST(ShippedLanguageFiles, KeepTheTextsWhoseBlanksOrWordsMatter) {
  for (const ShippedLanguage& language : kShippedLanguages) {
    SCOPED_TRACE(language.code);
    test::ShippedTexts texts(language.code);
    // The window title is how a second start finds the running panel.
    EXPECT_STREQ(LangText("MAIN", "CAPTION"), "Helmdeck");
    // The image buttons keep their caption clear of the icon with two blanks.
    EXPECT_EQ(std::string(LangText("MAIN", "IDC_EXIT")).rfind("  ", 0), 0u);
    EXPECT_EQ(std::string(LangText("MAIN", "IDC_HELP")).rfind("  ", 0), 0u);
  }
  test::EnglishTexts english;
  EXPECT_STREQ(LangText("MAIN", "IDC_EXIT"), "  E&xit");
  EXPECT_STREQ(LangText("ADVANCED", "IDL_TOLL_SAVER"), "Toll saver  ");
  EXPECT_STREQ(LangText("SETTINGS", "Plain Paper"), "Plain Paper");
}

}  // namespace
}  // namespace vornik::res
