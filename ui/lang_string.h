// A localized text as a Qt string: `LangText` copied at once, its bytes read in the
// system's 8-bit encoding. Display text only, never a format or markup.
#pragma once

#include <QString>

namespace vornik {

QString LangString(const char* section, const char* key);

}  // namespace vornik
