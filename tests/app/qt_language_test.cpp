// Qt's own texts and the date pickers speak the language the panel chose.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/panel_app.h"
#include "res/dialog_builder.h"
#include "res/templates.h"
#include "tests/res/shipped_texts.h"
#include "ui/qt_language.h"

namespace vornik {
namespace {

// The captions of the start-up's not-responding box, "Abort/Retry/Ignore"; Ignore is pressed.
std::string NotRespondingButtons() {
  QStringList captions;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    for (auto which : {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore})
      captions << box->button(which)->text().remove(QLatin1Char('&'));
    box->button(QMessageBox::Ignore)->click();
  });
  EXPECT_EQ(AskNotResponding(""), StartUpWindows::Choice::kIgnore);
  return captions.join(QLatin1Char('/')).toStdString();
}

// What a date picker of the Advanced page shows for 4 March 2002.
std::string PickerText() {
  QDialog page;
  auto* picker = res::BuildDialog(res::kTemplate123, &page).client()->findChild<QDateEdit*>();
  picker->setDate(QDate(2002, 3, 4));
  return picker->text().toStdString();
}

TEST(QtLanguage, BoxButtonsAndDatePickersFollowThePanelsLanguage) {
  const struct {
    const char* code;
    const char* buttons;
    const char* date;
  } cases[] = {
      {"en", "Abort/Retry/Ignore", "3/4/2002"},
      {"de", "Abbrechen/Wiederholen/Ignorieren", "04.03.2002"},
      {"fr", "Abandonner/Réessayer/Ignorer", "04/03/2002"},
      {"es", "Interrumpir/Reintentar/Ignorar", "4/3/2002"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    test::ShippedTexts texts(c.code);
    UseQtLanguage(ChosenLanguage);
    EXPECT_EQ(NotRespondingButtons(), c.buttons);
    EXPECT_EQ(PickerText(), c.date);
  }
  UseQtLanguage(&kEnglish);
  QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace vornik
