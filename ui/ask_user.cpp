#include "ui/ask_user.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include "ui/lang_string.h"

namespace vornik {
namespace {

QWidget* OwnerOrActive(QWidget* owner) {
  return owner != nullptr ? owner : QApplication::activeWindow();
}

}  // namespace

int AskUser(QWidget* owner, const char* name, const QString& text, const QStringList& answers) {
  QMessageBox box(QMessageBox::Question, LangString("MAIN", "CAPTION"), text, QMessageBox::NoButton,
                  OwnerOrActive(owner));
  box.setObjectName(QString::fromLatin1(name));
  box.setTextFormat(Qt::PlainText);
  std::vector<QPushButton*> buttons;
  for (const QString& answer : answers)
    buttons.push_back(box.addButton(answer, QMessageBox::ActionRole));
  box.setDefaultButton(buttons.front());
  box.setEscapeButton(buttons.back());
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i])
      return int(i);
  }
  return int(buttons.size()) - 1;
}

void TellUser(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::Information, LangString("MAIN", "CAPTION"), text, QMessageBox::Ok,
                  OwnerOrActive(owner));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace vornik
