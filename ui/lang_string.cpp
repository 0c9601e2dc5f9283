#include "ui/lang_string.h"

#include "lang/lang_text.h"

namespace vornik {

QString LangString(const char* section, const char* key) {
  return QString::fromLocal8Bit(LangText(section, key));
}

}  // namespace vornik
