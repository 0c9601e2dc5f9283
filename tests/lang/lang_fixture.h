// A private program directory with real files in it, the fake platform reporting the
// program as living there, and no locale or language override in the environment.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "lang/lang_text.h"
#include "platform/fake_platform.h"
#include "tests/support/scoped_env.h"

namespace vornik::test {

class LangFileTest : public testing::Test {
 protected:
  LangFileTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornik-lang.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "no temporary directory";
    }
    dir_ = pattern;
    platform_.system.path = (dir_ / "vornik").string();
    LanguageFilePath.clear();
  }
  ~LangFileTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
    LanguageFilePath.clear();
    ChosenLanguage = nullptr;
  }

  // Writes `bytes` exactly as given (no newline added) and returns the full path.
  std::string write(const std::string& name, const std::string& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // Writes a language file and makes it the one `LangText` reads.
  void useLanguageFile(const std::string& bytes) { LanguageFilePath = write("lang.lng", bytes); }

  std::string directory() const { return dir_.string() + "/"; }

  ScopedEnv noOverride_{"VORNIK_LANG", nullptr};
  ScopedEnv noLocale_{"LC_ALL", nullptr};
  ScopedEnv noMessagesLocale_{"LC_MESSAGES", nullptr};
  ScopedEnv noLang_{"LANG", nullptr};
  platform::FakePlatform platform_;
  std::filesystem::path dir_;
};

}  // namespace vornik::test
