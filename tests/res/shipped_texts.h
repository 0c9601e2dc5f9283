// Makes a shipped language file beside the built program the one `LangText` reads.
#pragma once

#include "lang/lang_text.h"
#include "lang/language_choice.h"
#include "platform/fake_platform.h"
#include "tests/support/scoped_env.h"

namespace vornik::test {

class ShippedTexts {
 public:
  explicit ShippedTexts(const char* code) : forced_(kLanguageOverrideVariable, code) {
    platform_.system.path = VORNIK_PROGRAM_DIR "/vornik";
    ChooseLanguageFile();
  }
  ~ShippedTexts() {
    LanguageFilePath.clear();
    ChosenLanguage = nullptr;
  }

 private:
  ScopedEnv forced_;
  platform::FakePlatform platform_;
};

class EnglishTexts : public ShippedTexts {
 public:
  EnglishTexts() : ShippedTexts(kEnglish.code) {}
};

}  // namespace vornik::test
