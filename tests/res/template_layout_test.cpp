// Every template laid out with the texts of every shipped language at the default dialog
// font: each control holds its whole text, no two controls overlap, and a picture of the
// window is saved for review (VORNIK_SCREENSHOT_DIR). A page's status line holds each of its
// texts, the longest time of day with it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTime>
#include <QTreeWidget>

#include "res/dialog_builder.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "shipped_texts.h"
#include "ui/image_button.h"
#include "ui/lang_string.h"
#include "ui/template_page.h"

namespace vornik::res {
namespace {

QString Plain(QString text) {
  return text.remove(QLatin1Char('&'));
}

// Why a control does not show its whole text, or an empty string when it does.
QString ClippedText(QWidget* widget, const ControlTemplate& control) {
  const QFontMetrics metrics(widget->font());
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    const QRect area = label->contentsRect();
    const int flags = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, area.width(), 10000), flags, label->text());
    if (needed.width() > area.width() || needed.height() > area.height()) {
      return QStringLiteral("label needs %1x%2 in %3x%4")
          .arg(needed.width())
          .arg(needed.height())
          .arg(area.width())
          .arg(area.height());
    }
    for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      if (metrics.horizontalAdvance(word) > area.width()) {
        return QStringLiteral("word '%1' wider than the label").arg(word);
      }
    }
  } else if (auto* image = qobject_cast<ImageButton*>(widget)) {
    const int captionWidth = image->width() - 2 - 2 * ImageButton::kImageMargin - kIconSize - 4;
    const QRect needed = metrics.boundingRect(QRect(0, 0, captionWidth, 10000), Qt::TextWordWrap,
                                              Plain(image->text()));
    if (needed.width() > captionWidth || needed.height() > image->height() - 6 ||
        kIconSize > image->height()) {
      return QStringLiteral("image button caption needs %1x%2 in %3x%4")
          .arg(needed.width())
          .arg(needed.height())
          .arg(captionWidth)
          .arg(image->height() - 6);
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (button->sizeHint().width() > button->width() || metrics.height() > button->height()) {
      return QStringLiteral("button needs %1 wide, has %2")
          .arg(button->sizeHint().width())
          .arg(button->width());
    }
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    if (metrics.horizontalAdvance(frame->title()) + 16 > frame->width()) {
      return QStringLiteral("group title too wide");
    }
  } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
    if (list->sizeHint().width() > list->width()) {
      return QStringLiteral("list needs %1 wide, has %2")
          .arg(list->sizeHint().width())
          .arg(list->width());
    }
  } else if (control.kind == ControlKind::kEdit || control.kind == ControlKind::kFilterEdit) {
    if (metrics.height() + 4 > widget->height()) {
      return QStringLiteral("edit lower than a line of text");
    }
  } else if (widget->minimumSizeHint().height() > widget->height()) {
    return QStringLiteral("lower than it can be drawn");
  }
  return {};
}

void GiveButtonsTheirIcons(const DialogControls& controls) {
  const std::pair<int, int> icons[] = {
      {1006, kIconExit}, {1042, kIconHelp}, {1, kIconOk}, {2, kIconCancel}};
  for (const auto& [id, icon] : icons) {
    if (auto* button = controls.find<ImageButton>(id)) {
      button->setIconResource(icon);
      button->setFlat(!controls.dialogTemplate()->minimizeBox);
    }
  }
  for (auto* list : controls.client()->findChildren<QTreeWidget*>()) {
    list->setHeaderLabels({LangString("COMMON", "IDS_NUM"), LangString("COMMON", "IDS_NAME"),
                           LangString("COMMON", "IDS_TEL_NUMBER")});
  }
}

TEST(TemplateLayout, EveryTemplateShowsItsWholeTextsWithoutOverlaps) {
  QDir().mkpath(QStringLiteral(VORNIK_SCREENSHOT_DIR));
  for (const ShippedLanguage& language : kShippedLanguages) {
    SCOPED_TRACE(language.code);
    test::ShippedTexts texts(language.code);
    for (const DialogTemplate* dialog : AllTemplates()) {
      SCOPED_TRACE(dialog->id);
      QDialog window;
      const DialogControls controls = BuildDialog(*dialog, &window);
      LocalizeDialog(controls);
      GiveButtonsTheirIcons(controls);
      window.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

      QList<QWidget*> placed;
      for (qsizetype i = 0; i < static_cast<qsizetype>(dialog->controls.size()); ++i) {
        const ControlTemplate& control = dialog->controls[i];
        QWidget* widget = controls.controlAt(i);
        ASSERT_NE(widget, nullptr);
        if (widget->isHidden()) {
          continue;
        }
        SCOPED_TRACE(control.id);
        if (control.id == kStatusLine) {
          for (const char* done : {"IDS_DONE_SENT", "IDS_DONE_LOADED", "IDS_DONE_SAVED"}) {
            static_cast<QLabel*>(widget)->setText(
                StatusLineText(LangString("COMMON", done), QTime(23, 59, 59)));
            EXPECT_EQ(ClippedText(widget, control).toStdString(), "") << done;
          }
        }
        EXPECT_EQ(ClippedText(widget, control).toStdString(), "");
        EXPECT_TRUE(controls.client()->rect().contains(widget->geometry())) << "outside the window";
        if (control.kind == ControlKind::kGroupBox) {
          continue;
        }
        for (QWidget* other : placed) {
          EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
              << "overlaps " << other->property("controlId").toInt();
        }
        widget->setProperty("controlId", control.id);
        placed.append(widget);
      }

      const QString file = QStringLiteral(VORNIK_SCREENSHOT_DIR "/template_%1_%2.png")
                               .arg(dialog->id)
                               .arg(QString::fromLatin1(language.code));
      EXPECT_TRUE(window.grab().save(file));
    }
  }
}

}  // namespace
}  // namespace vornik::res
