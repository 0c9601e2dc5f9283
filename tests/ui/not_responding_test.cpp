#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "../lang/lang_fixture.h"
#include "ui/not_responding.h"

namespace vornik {
namespace {

struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QAbstractButton*> buttons;
  QWidget* owner = nullptr;
  Qt::TextFormat format = Qt::AutoText;
};

// Shows the box, notes what it shows, and presses its OK button.
int ShowAndPressOk(QWidget* owner, SeenBox& seen) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      ADD_FAILURE() << "no message box";
      return;
    }
    seen = {box->text(),    box->windowTitle(),  box->icon(),
            box->buttons(), box->parentWidget(), box->textFormat()};
    box->button(QMessageBox::Ok)->click();
  });
  return ShowNotResponding(owner);
}

class NotRespondingTest : public test::LangFileTest {};

TEST_F(NotRespondingTest, ShowsTheLocalizedTextWithTheMainCaptionErrorIconAndOk) {
  useLanguageFile(
      "[COMMON]\nIDS_NOT_RESPOND=The device is not responding.\n"
      "[MAIN]\nCAPTION=Remote Control Panel\n");
  QWidget mainWindow;
  SeenBox seen;
  EXPECT_EQ(ShowAndPressOk(&mainWindow, seen), QMessageBox::Ok);
  EXPECT_EQ(seen.text, QStringLiteral("The device is not responding."));
  EXPECT_EQ(seen.caption, QStringLiteral("Remote Control Panel"));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons.size(), 1);
  EXPECT_EQ(seen.owner, &mainWindow);
}

TEST_F(NotRespondingTest, WithoutLanguageFileTheBoxIsEmptyButStillAnErrorWithOk) {
  LanguageFilePath = directory() + "missing.lng";
  QWidget mainWindow;
  SeenBox seen;
  ShowAndPressOk(&mainWindow, seen);
  EXPECT_EQ(seen.text, QString());
  EXPECT_EQ(seen.caption, QString());
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons.size(), 1);
}

TEST_F(NotRespondingTest, TextIsShownAsItStandsAndOwnedByTheActiveWindow) {
  useLanguageFile("[COMMON]\nIDS_NOT_RESPOND=<b>%s %n</b>\n");
  QWidget mainWindow;
  mainWindow.show();
  QApplication::setActiveWindow(&mainWindow);
  SeenBox seen;
  ShowAndPressOk(nullptr, seen);
  EXPECT_EQ(seen.text, QStringLiteral("<b>%s %n</b>"));
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.owner, &mainWindow);
}

}  // namespace
}  // namespace vornik
