#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QTreeWidget>

#include "lang/language_choice.h"
#include "phonebook/phonebook_controls.h"
#include "res/accessible_names.h"
#include "res/dialog_builder.h"
#include "res/ids_advanced.h"
#include "res/ids_firmware.h"
#include "res/ids_group_dial.h"
#include "res/ids_main.h"
#include "res/ids_settings.h"
#include "res/templates.h"
#include "shipped_texts.h"

namespace vornik::res {
namespace {

QString NameOf(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

bool ActedOn(ControlKind kind) {
  return kind != ControlKind::kLabel && kind != ControlKind::kGroupBox &&
         kind != ControlKind::kEtchedLine;
}

// What a screen reader says of every shown control a person acts on, in every window and
// every shipped language: a name without blanks at its ends, and for a drop-down list never
// its chosen item.
TEST(NameControls, EveryControlOfEveryWindowHasANameThatIsNotItsValue) {
  for (const ShippedLanguage& language : kShippedLanguages) {
    test::ShippedTexts texts(language.code);
    for (const DialogTemplate* dialog : AllTemplates()) {
      QWidget window;
      const DialogControls controls = BuildDialog(*dialog, &window);
      LocalizeDialog(controls);
      for (auto* list : window.findChildren<QTreeWidget*>())
        AddEntryColumns(list, 100, 100);
      for (size_t i = 0; i < dialog->controls.size(); ++i) {
        const ControlTemplate& control = dialog->controls[i];
        if (!ActedOn(control.kind) || (control.style & kHidden))
          continue;
        QWidget* widget = controls.controlAt(qsizetype(i));
        const QString name = NameOf(widget);
        EXPECT_FALSE(name.isEmpty()) << language.code << " " << dialog->id << " #" << i;
        EXPECT_EQ(name, name.trimmed()) << language.code << " " << dialog->id << " #" << i;
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
          list->setCurrentIndex(0);
          EXPECT_NE(NameOf(list), list->currentText()) << language.code << " " << dialog->id;
        }
      }
    }
  }
}

TEST(NameControls, NamesComeFromLabelsFramesAndCaptions) {
  test::EnglishTexts english;
  const struct {
    const DialogTemplate& dialog;
    int id;
    const char* name;
  } cases[] = {
      {kTemplate106, settings_ids::kTrayPaperSize, "Tray paper size"},
      {kTemplate106, settings_ids::kRingCountArrows, "Rings to answer"},
      {kTemplate123, advanced_ids::kTollSaverOff, "Toll saver Off"},
      {kTemplate123, advanced_ids::kTollEndTime, "End"},
      {kTemplate123, advanced_ids::kPowerSaveMinutes, "Power save"},
      {kTemplate101, firmware_ids::kProgressBar, "Progress"},
      {kTemplate143, group_dial_ids::kIncludedList, "Included numbers"},
      {kTemplate102, main_ids::kExit, "Exit"},
  };
  for (const auto& c : cases) {
    QWidget window;
    const DialogControls controls = BuildDialog(c.dialog, &window);
    LocalizeDialog(controls);
    EXPECT_EQ(NameOf(controls.control(c.id)), QString::fromLatin1(c.name));
  }
  QWidget page;
  const DialogControls settings = BuildDialog(kTemplate106, &page);
  EXPECT_EQ(settings.find<QLabel>(settings_ids::kRingCountLabel)->buddy(),
            settings.control(settings_ids::kRingCount));
  EXPECT_EQ(AccessibleText(QStringLiteral("  E&xit && more: ")), QStringLiteral("Exit & more"));
}

}  // namespace
}  // namespace vornik::res
