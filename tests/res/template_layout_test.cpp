// Every template laid out with the texts of every shipped language at the default dialog
// font: each control holds its whole text, no two controls overlap, each image button's
// icon is drawn for the screen's scale, a page's status line holds each of its texts with
// the longest time of day, and a picture of the window is saved for review
// (VORNIK_SCREENSHOT_DIR). ctest runs it again at the scales of high-density screens
// (QT_SCALE_FACTOR 1.5 and 2).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
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
#include "res/ids_main.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "shipped_texts.h"
#include "ui/colour_contrast.h"
#include "ui/image_button.h"
#include "ui/lang_string.h"
#include "ui/qt_language.h"
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
  } else if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
    picker->setDate(QDate(2089, 12, 28));  // the widest the pickers show
    if (picker->sizeHint().width() > picker->width()) {
      return QStringLiteral("picker needs %1 wide, has %2")
          .arg(picker->sizeHint().width())
          .arg(picker->width());
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
  const std::pair<int, int> icons[] = {{main_ids::kExit, kIconExit},
                                       {main_ids::kHelp, kIconHelp},
                                       {kIdOk, kIconOk},
                                       {kIdCancel, kIconCancel}};
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

// The template built in `window`, in the chosen language, with its icons, on screen.
DialogControls ShowTemplate(const DialogTemplate& dialog, QDialog& window) {
  const DialogControls controls = BuildDialog(dialog, &window);
  LocalizeDialog(controls);
  GiveButtonsTheirIcons(controls);
  window.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  return controls;
}

TEST(TemplateLayout, EveryTemplateShowsItsWholeTextsWithoutOverlaps) {
  QDir().mkpath(QStringLiteral(VORNIK_SCREENSHOT_DIR));
  for (const ShippedLanguage& language : kShippedLanguages) {
    SCOPED_TRACE(language.code);
    test::ShippedTexts texts(language.code);
    UseQtLanguage(&language);  // the date pickers' format
    for (const DialogTemplate* dialog : AllTemplates()) {
      SCOPED_TRACE(dialog->id);
      QDialog window;
      const DialogControls controls = ShowTemplate(*dialog, window);

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
        if (auto* image = qobject_cast<ImageButton*>(widget);
            image && !image->iconPixmapSize().isEmpty()) {
          EXPECT_EQ(image->iconPixelRatio(), window.devicePixelRatio()) << "icon not sharp";
        }
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

      const QString scale = window.devicePixelRatio() == 1
                                ? QString()
                                : QStringLiteral("@%1x").arg(window.devicePixelRatio());
      const QString file = QStringLiteral(VORNIK_SCREENSHOT_DIR "/template_%1_%2%3.png")
                               .arg(dialog->id)
                               .arg(QString::fromLatin1(language.code), scale);
      EXPECT_TRUE(window.grab().save(file));
    }
  }
  UseQtLanguage(&kEnglish);
  QLocale::setDefault(QLocale::c());
}

// The colour most of `image` shows, and how far the pixel that stands out most from it
// stands: a control's ground, and its text or lines against it.
std::pair<QColor, double> GroundAndContrast(const QImage& image) {
  QHash<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ++counts[image.pixel(x, y) | 0xFF000000];
  const QColor ground(std::max_element(counts.cbegin(), counts.cend()).key());
  double most = 1;
  for (QRgb colour : counts.keys())
    most = std::max(most, ColourContrast(ground, QColor(colour)));
  return {ground, most};
}

// Under a desktop's dark colour scheme every control, the program's own image buttons
// included, is drawn on the scheme's dark ground, and its text stands out from it: 4.5
// times for live text, 2 for a disabled control's, which is meant to recede.
TEST(TemplateLayout, EveryControlFollowsADarkPaletteAndItsTextStaysReadable) {
  QDir().mkpath(QStringLiteral(VORNIK_SCREENSHOT_DIR));
  test::ShippedTexts texts(kEnglish.code);
  const QPalette dark(QColor(53, 53, 53), QColor(42, 42, 42));
  for (const DialogTemplate* dialog : AllTemplates()) {
    SCOPED_TRACE(dialog->id);
    QDialog window;
    window.setPalette(dark);
    const DialogControls controls = ShowTemplate(*dialog, window);
    for (qsizetype i = 0; i < static_cast<qsizetype>(dialog->controls.size()); ++i) {
      QWidget* widget = controls.controlAt(i);
      if (widget->isHidden())
        continue;
      SCOPED_TRACE(dialog->controls[i].id);
      QRect area = widget->rect();
      if (qobject_cast<ImageButton*>(widget))
        area.setLeft(2 * ImageButton::kImageMargin + kIconSize);  // the caption alone
      const auto [ground, contrast] = GroundAndContrast(widget->grab(area).toImage());
      EXPECT_GT(ColourContrast(ground, Qt::white), ColourContrast(ground, Qt::black))
          << "light ground " << ground.name().toStdString();
      const auto* button = qobject_cast<QAbstractButton*>(widget);
      const auto* label = qobject_cast<QLabel*>(widget);
      if ((label && !label->text().isEmpty()) || (button && !button->text().isEmpty())) {
        EXPECT_GE(contrast, widget->isEnabled() ? 4.5 : 2);
      }
    }
    EXPECT_TRUE(window.grab().save(
        QStringLiteral(VORNIK_SCREENSHOT_DIR "/template_%1_dark.png").arg(dialog->id)));
  }
}

}  // namespace
}  // namespace vornik::res
