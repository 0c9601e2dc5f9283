#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "res/dialog_builder.h"
#include "res/ids_advanced.h"
#include "res/ids_entry.h"
#include "res/ids_settings.h"
#include "res/templates.h"
#include "shipped_texts.h"
#include "ui/filter_edit.h"
#include "ui/image_button.h"

namespace vornik::res {
namespace {

TEST(DialogUnits, ConvertWithTheFontsBaseUnitsRoundingToNearest) {
  const DialogBaseUnits classic{6, 13};
  EXPECT_EQ(DialogUnitsToPixels(classic, QRect(0, 0, 50, 14)), QRect(0, 0, 75, 23));
  EXPECT_EQ(DialogUnitsToPixels(classic, QRect(179, 253, 75, 21)), QRect(269, 411, 113, 34));
  EXPECT_EQ(DialogUnitsToPixels(classic, QRect(0, 0, 389, 278)), QRect(0, 0, 584, 452));
  EXPECT_EQ(DialogUnitsToPixels({7, 16}, QRect(2, 1, 347, 217)), QRect(4, 2, 607, 434));
}

TEST(DialogUnits, BaseUnitsFollowTheFont) {
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(10);
  QFont large = small;
  large.setPixelSize(20);
  const DialogBaseUnits a = BaseUnits(small);
  const DialogBaseUnits b = BaseUnits(large);
  EXPECT_EQ(a.y, QFontMetrics(small).height());
  EXPECT_GT(b.x, a.x);
  EXPECT_GT(b.y, a.y);
}

// Every control of every template is made with its id, kind, place, text and state.
TEST(BuildDialog, MakesEveryControlWhereItsTemplatePutsIt) {
  for (const DialogTemplate* dialog : AllTemplates()) {
    SCOPED_TRACE(dialog->id);
    QDialog window;
    const DialogControls controls = BuildDialog(*dialog, &window);
    for (const ControlTemplate& control : dialog->controls) {
      if (control.id == kUnnamed) {
        continue;
      }
      SCOPED_TRACE(control.id);
      QWidget* widget = controls.control(control.id);
      ASSERT_NE(widget, nullptr);
      EXPECT_EQ(widget->parentWidget(), controls.client());
      const QRect expected = DialogUnitsToPixels(
          controls.units(), QRect(control.x, control.y, control.cx, control.cy));
      EXPECT_EQ(widget->pos(), expected.topLeft());
      EXPECT_EQ(widget->width(), expected.width());
      if (control.kind != ControlKind::kDropList && control.kind != ControlKind::kEtchedLine) {
        EXPECT_EQ(widget->height(), expected.height());
      }
      EXPECT_EQ(widget->isHidden(), (control.style & kHidden) != 0);
      EXPECT_EQ(widget->isEnabled(), (control.style & kDisabled) == 0);
      switch (control.kind) {
        case ControlKind::kLabel:
          EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), control.text);
          EXPECT_EQ(qobject_cast<QLabel*>(widget)->textFormat(), Qt::PlainText);
          break;
        case ControlKind::kImageButton:
          EXPECT_NE(qobject_cast<ImageButton*>(widget), nullptr);
          [[fallthrough]];
        case ControlKind::kPushButton:
          EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), control.text);
          EXPECT_EQ(qobject_cast<QPushButton*>(widget)->isDefault(),
                    (control.style & kDefaultButton) != 0);
          break;
        case ControlKind::kFilterEdit:
          EXPECT_NE(qobject_cast<FilterEdit*>(widget), nullptr);
          break;
        case ControlKind::kDropList: {
          auto* list = qobject_cast<QComboBox*>(widget);
          ASSERT_NE(list, nullptr);
          ASSERT_EQ(list->count(), static_cast<int>(control.items.size()));
          for (int i = 0; i < list->count(); ++i) {
            EXPECT_EQ(list->itemText(i), control.items[i]);
          }
          break;
        }
        case ControlKind::kListView:
          EXPECT_EQ(qobject_cast<QTreeWidget*>(widget)->selectionMode(),
                    (control.style & kMultiSelect) ? QAbstractItemView::ExtendedSelection
                                                   : QAbstractItemView::SingleSelection);
          break;
        default:
          break;
      }
    }
    EXPECT_EQ(controls.control(kUnnamed), nullptr);
    EXPECT_EQ(controls.control(99999), nullptr);
  }
}

TEST(BuildDialog, PageIsSizedToItsTemplateAndKeepsNoCaption) {
  QWidget page;
  page.setWindowTitle(QStringLiteral("host"));
  const DialogControls controls = BuildDialog(kTemplate106, &page);
  const QRect size = DialogUnitsToPixels(controls.units(), QRect(0, 0, 347, 217));
  EXPECT_EQ(page.size(), size.size());
  EXPECT_EQ(page.minimumSize(), size.size());
  EXPECT_EQ(page.windowTitle(), QStringLiteral("host"));
  EXPECT_EQ(controls.client(), &page);
  EXPECT_EQ(controls.menuBar(), nullptr);
  EXPECT_EQ(page.font().pointSize(), 8);
}

TEST(BuildDialog, MainWindowHasItsMenuAboveTheControls) {
  QDialog window;
  const DialogControls controls = BuildDialog(kTemplate102, &window);
  ASSERT_NE(controls.menuBar(), nullptr);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Remote Control Panel"));
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  window.show();
  EXPECT_NE(controls.client(), &window);
  EXPECT_GE(controls.client()->y(), controls.menuBar()->height());
  const QSize client = DialogUnitsToPixels(controls.units(), QRect(0, 0, 389, 278)).size();
  EXPECT_EQ(controls.client()->size(), client);
  EXPECT_EQ(window.size(), QSize(client.width(), client.height() + controls.menuBar()->height()));
}

TEST(BuildDialog, DialogWithoutTitleGetsItFromTheLanguageFile) {
  test::EnglishTexts english;
  QDialog window;
  const DialogControls controls = BuildDialog(kTemplate112, &window);
  EXPECT_EQ(window.windowTitle(), QString());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  LocalizeDialog(controls);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Phonebook entry"));
  EXPECT_EQ(controls.find<QLabel>(entry_ids::kNumberLabel)->text(),
            QStringLiteral("Phone Number:"));
  EXPECT_EQ(controls.find<QPushButton>(entry_ids::kCancel)->text(), QStringLiteral("Cancel"));
}

TEST(BuildDialog, EachRadioGroupIsExclusiveOnItsOwn) {
  QWidget page;
  const DialogControls controls = BuildDialog(kTemplate123, &page);
  auto* tollOff = controls.find<QRadioButton>(advanced_ids::kTollSaverOff);
  auto* tollOn = controls.find<QRadioButton>(advanced_ids::kTollSaverOn);
  auto* saveOff = controls.find<QRadioButton>(advanced_ids::kPowerSaveOff);
  auto* saveOn = controls.find<QRadioButton>(advanced_ids::kPowerSaveOn);
  tollOn->setChecked(true);
  saveOff->setChecked(true);
  EXPECT_TRUE(tollOn->isChecked());
  saveOn->setChecked(true);
  EXPECT_TRUE(tollOn->isChecked());
  EXPECT_FALSE(saveOff->isChecked());
  tollOff->setChecked(true);
  EXPECT_FALSE(tollOn->isChecked());
  EXPECT_TRUE(saveOn->isChecked());
  ASSERT_NE(tollOff->group(), nullptr);
  EXPECT_EQ(tollOff->group()->id(tollOn), advanced_ids::kTollSaverOn);
  EXPECT_NE(tollOff->group(), saveOff->group());
}

TEST(BuildDialog, NumberFieldsTakeOnlyDigitsAndArrowsReportTheirActions) {
  QWidget page;
  const DialogControls controls = BuildDialog(kTemplate106, &page);
  auto* rings = controls.find<QLineEdit>(settings_ids::kRingCount);
  QTest::keyClicks(rings, QStringLiteral("4x-2"));
  EXPECT_EQ(rings->text(), QStringLiteral("42"));

  page.show();
  auto* arrows = controls.find<QScrollBar>(settings_ids::kRingCountArrows);
  ASSERT_NE(arrows, nullptr);
  QList<int> actions;
  QObject::connect(arrows, &QAbstractSlider::actionTriggered,
                   [&](int action) { actions.append(action); });
  for (int i = 0; i < 3; ++i) {
    QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(arrows->width() / 2, 2));
  }
  QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(arrows->width() / 2, arrows->height() - 3));
  const QList<int> expected = {
      QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepSub,
      QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepAdd};
  EXPECT_EQ(actions, expected);
}

TEST(LocalizeDialog, ReplacesTextsAndRefillsListsWithoutSelection) {
  test::EnglishTexts english;
  QWidget page;
  const DialogControls controls = BuildDialog(kTemplate106, &page);
  controls.find<QLabel>(settings_ids::kTrayPaperSizeLabel)->setText(QStringLiteral("changed"));
  LocalizeDialog(controls);
  EXPECT_EQ(controls.find<QLabel>(settings_ids::kTrayPaperSizeLabel)->text(),
            QStringLiteral("Tray paper size:"));
  auto* paperType = controls.find<QComboBox>(settings_ids::kPaperType);
  ASSERT_EQ(paperType->count(), 10);
  EXPECT_EQ(paperType->itemText(0), QStringLiteral("Plain Paper"));
  EXPECT_EQ(paperType->itemText(9), QStringLiteral("Thin"));
  EXPECT_EQ(paperType->currentIndex(), -1);
  EXPECT_EQ(controls.find<QComboBox>(settings_ids::kPrintTimeOut)->itemText(4),
            QStringLiteral("180 sec"));
  // Fixed texts stay as the template has them, and a page keeps its window title.
  EXPECT_EQ(page.windowTitle(), QString());
  QWidget advanced;
  const DialogControls advancedControls = BuildDialog(kTemplate123, &advanced);
  LocalizeDialog(advancedControls);
  EXPECT_EQ(advancedControls.find<QComboBox>(advanced_ids::kPowerSaveMinutes)->count(), 5);
  EXPECT_EQ(advancedControls.find<QComboBox>(advanced_ids::kLanguage)->count(), 8);
  EXPECT_EQ(advancedControls.find<QComboBox>(advanced_ids::kLanguage)->itemText(3),
            QStringLiteral("Portuguese"));
}

TEST(LocalizeDialog, MissingLanguageFileEmptiesTextsButKeepsEveryListItem) {
  LanguageFilePath = "/nonexistent/vornik/english.lng";
  QWidget page;
  const DialogControls controls = BuildDialog(kTemplate106, &page);
  LocalizeDialog(controls);
  EXPECT_EQ(controls.find<QLabel>(settings_ids::kTrayPaperSizeLabel)->text(), QString());
  EXPECT_EQ(controls.find<QPushButton>(settings_ids::kRefresh)->text(), QString());
  auto* timeOut = controls.find<QComboBox>(settings_ids::kPrintTimeOut);
  ASSERT_EQ(timeOut->count(), 5);
  EXPECT_EQ(timeOut->itemText(2), QString());
  timeOut->setCurrentIndex(3);
  EXPECT_EQ(timeOut->currentIndex(), 3);
  EXPECT_EQ(controls.find<QComboBox>(settings_ids::kPaperType)->count(), 10);
  LanguageFilePath.clear();
}

}  // namespace
}  // namespace vornik::res
