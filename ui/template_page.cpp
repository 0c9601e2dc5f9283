#include "ui/template_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTime>

#include "res/templates.h"
#include "ui/lang_string.h"
#include "ui/page_command.h"

namespace vornik {

QString StatusLineText(const QString& done, const QTime& when) {
  return done + QStringLiteral(" \u2013 ") + when.toString(QStringLiteral("HH:mm:ss"));
}

TemplatePage::TemplatePage(const res::DialogTemplate& dialog, QWidget* parent)
    : PropertyPage(parent), dialog_(dialog) {
  // The sheet sizes itself from its pages before any page has made its controls.
  const auto units = res::BaseUnits(res::DialogFont(dialog));
  setMinimumSize(res::DialogUnitsToPixels(units, QRect(0, 0, dialog.cx, dialog.cy)).size());
}

void TemplatePage::initDialog() {
  controls_ = res::BuildDialog(dialog_, this);
  if (QWidget* line = controls_.control(res::kStatusLine))
    line->setObjectName(QStringLiteral("StatusLine"));
  res::LocalizeDialog(controls_);
  onInitDialog();
}

void TemplatePage::trackEdits() {
  const auto edited = [this] { markEdited(); };
  for (qsizetype i = 0; QWidget* control = controls_.controlAt(i); ++i) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
      connect(edit, &QLineEdit::textEdited, this, edited);
    else if (auto* list = qobject_cast<QComboBox*>(control))
      connect(list, &QComboBox::activated, this, edited);
    else if (auto* picker = qobject_cast<QDateTimeEdit*>(control))
      connect(picker, &QDateTimeEdit::dateTimeChanged, this, edited);
    else if (auto* button = qobject_cast<QAbstractButton*>(control);
             button && button->isCheckable())
      connect(button, &QAbstractButton::clicked, this, edited);
  }
}

bool TemplatePage::sendRecord(int (*command)()) {
  if (!RunPageCommand(command, window()))
    return false;
  editsSent();
  showDone(LangString("COMMON", "IDS_DONE_SENT"));
  return true;
}

void TemplatePage::showDone(const QString& done) {
  if (auto* line = controls_.find<QLabel>(res::kStatusLine))
    line->setText(StatusLineText(done, QTime::currentTime()));
}

}  // namespace vornik
