// Makes the English language file beside the built program the one `LangText` reads.
#pragma once

#include "lang/lang_text.h"
#include "platform/fake_platform.h"

namespace vornik::test {

class EnglishTexts {
 public:
  EnglishTexts() {
    platform_.system.path = VORNIK_PROGRAM_DIR "/vornik";
    ChooseLanguageFile();
  }
  ~EnglishTexts() { LanguageFilePath.clear(); }

 private:
  platform::FakePlatform platform_;
};

}  // namespace vornik::test
