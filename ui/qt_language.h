// Qt's own texts (the standard buttons of the message boxes, the file dialogs, the fields'
// context menus) and the date and time formats, in the language the panel speaks.
#pragma once

#include <QString>

namespace vornik {

struct ShippedLanguage;

// Installs Qt's catalogue for `language` from Qt's translations folder and makes the
// default locale speak it: the system locale when it already has that language (its
// country's formats), else the language's own. A language Qt has no catalogue for keeps
// Qt's English texts. Null (a language file of the user's own) follows the system locale.
// A later call replaces the earlier catalogue.
void UseQtLanguage(const ShippedLanguage* language);

// A date format with every two-digit year widened to four digits: the date pickers span
// a hundred years, in which "10.10.02" names more than one day.
QString WithFourDigitYears(QString format);

}  // namespace vornik
