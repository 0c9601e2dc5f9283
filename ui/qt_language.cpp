#include "ui/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

#include "lang/language_choice.h"

namespace vornik {
namespace {

// The catalogue installed last; the application owns it.
QTranslator* installedCatalogue = nullptr;

QLocale LocaleSpeaking(const ShippedLanguage* language) {
  const QLocale system = QLocale::system();
  if (language == nullptr)
    return system;
  const QLocale own(QString::fromLatin1(language->code));
  return system.language() == own.language() ? system : own;
}

}  // namespace

void UseQtLanguage(const ShippedLanguage* language) {
  const QLocale locale = LocaleSpeaking(language);
  QLocale::setDefault(locale);
  if (installedCatalogue != nullptr) {
    QCoreApplication::removeTranslator(installedCatalogue);
    delete installedCatalogue;
    installedCatalogue = nullptr;
  }
  auto catalogue = std::make_unique<QTranslator>(QCoreApplication::instance());
  if (catalogue->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(catalogue.get()))
    installedCatalogue = catalogue.release();
}

QString WithFourDigitYears(QString format) {
  static const QRegularExpression kYear(QStringLiteral("y+"));
  return format.replace(kYear, QStringLiteral("yyyy"));
}

}  // namespace vornik
