#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "ui/beep.h"
#include "ui/filter_edit.h"

namespace vornik {
namespace {

void TypeText(QWidget* widget, const QString& text) {
  QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text, Qt::NoModifier);
}

class FilterEditTest : public testing::Test {
 protected:
  FilterEditTest() { nonAsciiTyped = false; }

  FilterEdit* field(FilterKind kind, int limit, FilterEdit::ChangeRule rule) {
    auto* edit = new FilterEdit(&window_);
    edit->setMaxLength(limit);
    edit->setFilterKind(kind);
    edit->setChangeRule(rule);
    return edit;
  }

  QWidget window_;
  BeepRecorder beeps_;
};

TEST_F(FilterEditTest, DigitsFieldRefusesLettersWithABeep) {
  FilterEdit* number = field(FilterKind::kDigits, 20, FilterEdit::ChangeRule::kUpperCase);
  QTest::keyClicks(number, QStringLiteral("+49 3x0a"));
  EXPECT_EQ(number->text(), QStringLiteral("+49 30"));
  EXPECT_EQ(beeps_.count, 2);
  QTest::keyClick(number, Qt::Key_Backspace);
  EXPECT_EQ(number->text(), QStringLiteral("+49 3"));
  EXPECT_EQ(beeps_.count, 2);
}

TEST_F(FilterEditTest, NameFieldShowsLowerCaseAsCapitalsWithTheCaretAfterTheLastLetter) {
  FilterEdit* name = field(FilterKind::kName, 20, FilterEdit::ChangeRule::kUpperCase);
  QTest::keyClicks(name, QStringLiteral("acme ltd."));
  EXPECT_EQ(name->text(), QStringLiteral("ACME LTD."));
  EXPECT_EQ(name->cursorPosition(), 9);
  name->setCursorPosition(4);
  QTest::keyClicks(name, QStringLiteral("-x"));
  EXPECT_EQ(name->text(), QStringLiteral("ACME-X LTD."));
  EXPECT_EQ(name->cursorPosition(), 6);
  QTest::keyClicks(name, QStringLiteral("!_"));
  EXPECT_EQ(name->text(), QStringLiteral("ACME-X LTD."));
  EXPECT_EQ(beeps_.count, 2);
  // A text the program sets runs the same rule.
  name->setText(QStringLiteral("from device"));
  EXPECT_EQ(name->text(), QStringLiteral("FROM DEVICE"));
}

TEST_F(FilterEditTest, AccentedCharacterIsTakenOutAgainWithABeep) {
  FilterEdit* name = field(FilterKind::kName, 20, FilterEdit::ChangeRule::kUpperCase);
  QTest::keyClicks(name, QStringLiteral("abcd"));
  name->setCursorPosition(2);
  TypeText(name, QStringLiteral("\u00e9"));
  EXPECT_TRUE(nonAsciiTyped);
  EXPECT_EQ(name->text(), QStringLiteral("ABCD"));
  EXPECT_EQ(name->cursorPosition(), 2);
  EXPECT_EQ(beeps_.count, 1);
  QTest::keyClicks(name, QStringLiteral("x"));
  EXPECT_FALSE(nonAsciiTyped);
  EXPECT_EQ(name->text(), QStringLiteral("ABXCD"));

  // Typed over a selection, the selected text comes back.
  name->setSelection(1, 3);
  TypeText(name, QStringLiteral("\u00fc"));
  EXPECT_EQ(name->text(), QStringLiteral("ABXCD"));
  EXPECT_EQ(beeps_.count, 2);
}

TEST_F(FilterEditTest, WithoutTheChangeRuleAnAccentedCharacterStays) {
  FilterEdit* group = field(FilterKind::kName, 20, FilterEdit::ChangeRule::kNone);
  group->setUpperCaseStyle(true);
  QTest::keyClicks(group, QStringLiteral("team"));
  TypeText(group, QStringLiteral("\u00e9"));
  EXPECT_EQ(group->text(), QStringLiteral("TEAM\u00e9"));
  EXPECT_EQ(beeps_.count, 0);
}

TEST_F(FilterEditTest, PrefixDialKeepsCaseAndRemovesAccents) {
  FilterEdit* prefix = field(FilterKind::kDigits, 5, FilterEdit::ChangeRule::kKeepCase);
  QTest::keyClicks(prefix, QStringLiteral("0123456"));
  EXPECT_EQ(prefix->text(), QStringLiteral("01234"));
  prefix->clear();
  QTest::keyClicks(prefix, QStringLiteral("9"));
  TypeText(prefix, QStringLiteral("\u00b2"));
  EXPECT_EQ(prefix->text(), QStringLiteral("9"));
  EXPECT_EQ(beeps_.count, 1);
}

TEST_F(FilterEditTest, DialStringTakesDigitsHashStarAndPause) {
  FilterEdit* number = field(FilterKind::kDialString, 46, FilterEdit::ChangeRule::kUpperCase);
  QTest::keyClicks(number, QStringLiteral("9p0-30#*a"));
  EXPECT_EQ(number->text(), QStringLiteral("9P030#*"));
  EXPECT_EQ(beeps_.count, 2);
  EXPECT_TRUE(FilterEdit::accepts(FilterKind::kDialString, 'P'));
  EXPECT_FALSE(FilterEdit::accepts(FilterKind::kDialString, '+'));
  EXPECT_TRUE(FilterEdit::accepts(FilterKind::kName, '&'));
  EXPECT_FALSE(FilterEdit::accepts(FilterKind::kName, '"'));
  EXPECT_FALSE(FilterEdit::accepts(FilterKind::kName, 0));
  EXPECT_TRUE(FilterEdit::accepts(FilterKind::kDigits, 8));
}

// Text an input method or a dead key commits passes the rule of typed keys one character at
// a time, in every kind of field; the text still being composed is not part of the field.
TEST_F(FilterEditTest, CommittedTextPassesTheRuleOfTypedKeys) {
  using Rule = FilterEdit::ChangeRule;
  struct Commit {
    FilterKind kind;
    Rule rule;
    bool upperCaseStyle;
    const char* before;  // UTF-8
    const char* committed;
    std::string after;
    int beeps;
  };
  const Commit commits[] = {
      {FilterKind::kDigits, Rule::kUpperCase, false, "+49 ", "30ab 1", "+49 30 1", 2},
      {FilterKind::kDigits, Rule::kKeepCase, false, "9", "\u00b2", "9", 1},
      {FilterKind::kName, Rule::kUpperCase, false, "AB", "c\u00e9d", "ABCD", 1},
      {FilterKind::kName, Rule::kUpperCase, false, "AB", "x!\U0001F600", "ABX", 2},
      {FilterKind::kName, Rule::kNone, true, "TEAM", "a\u00e9", "TEAMA\u00e9", 0},
      {FilterKind::kDialString, Rule::kUpperCase, false, "9", "p0-#", "9P0#", 1},
  };
  for (const Commit& c : commits) {
    FilterEdit* edit = field(c.kind, 20, c.rule);
    edit->setUpperCaseStyle(c.upperCaseStyle);
    edit->setText(QString::fromUtf8(c.before));
    beeps_.count = 0;
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(c.committed));
    QApplication::sendEvent(edit, &commit);
    EXPECT_EQ(edit->text().toStdString(), c.after) << c.committed;
    EXPECT_EQ(beeps_.count, c.beeps) << c.committed;
  }

  FilterEdit* name = field(FilterKind::kName, 20, Rule::kUpperCase);
  name->setText(QStringLiteral("AB"));
  beeps_.count = 0;
  QInputMethodEvent composing(QStringLiteral("\u00b4"), {});
  QApplication::sendEvent(name, &composing);
  EXPECT_EQ(name->text(), QStringLiteral("AB"));
  QInputMethodEvent replacing;  // the accented letter in place of the B
  replacing.setCommitString(QStringLiteral("\u00e9"), -1, 1);
  QApplication::sendEvent(name, &replacing);
  EXPECT_EQ(name->text(), QStringLiteral("A"));
  EXPECT_EQ(beeps_.count, 1);
}

TEST_F(FilterEditTest, PasteAndOtherControlKeysBeepAndChangeNothing) {
  FilterEdit* name = field(FilterKind::kName, 20, FilterEdit::ChangeRule::kUpperCase);
  QTest::keyClicks(name, QStringLiteral("abc"));
  QApplication::clipboard()->setText(QStringLiteral("PASTED"));
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(name, Qt::Key_Insert, Qt::ShiftModifier);
  QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(name, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(name->text(), QStringLiteral("ABC"));
  EXPECT_EQ(beeps_.count, 4);
  // Keys that type nothing still move the caret and delete.
  QTest::keyClick(name, Qt::Key_Home);
  QTest::keyClick(name, Qt::Key_Delete);
  EXPECT_EQ(name->text(), QStringLiteral("BC"));
  EXPECT_EQ(beeps_.count, 4);
}

TEST_F(FilterEditTest, EnterStillPressesTheDialogsDefaultButton) {
  QDialog dialog;
  auto* edit = new FilterEdit(&dialog);
  edit->setFilterKind(FilterKind::kDigits);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setDefault(true);
  int clicks = 0;
  QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
  dialog.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(beeps_.count, 0);
}

// Keys that edit without typing edit, whatever text the platform attaches to them (X11 sends
// Delete as "\x7f"); no paste gets past the character rule.
TEST_F(FilterEditTest, EditingKeysEditAndEveryPasteIsRefused) {
  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    QString after;
  };
  const Key keys[] = {
      {Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"), QStringLiteral("12 45")},
      {Qt::Key_Delete, Qt::NoModifier, QString(), QStringLiteral("12 45")},
      {Qt::Key_Delete, Qt::ControlModifier, QStringLiteral("\x7f"), QStringLiteral("12 ")},
      {Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"), QStringLiteral("12345")},
      {Qt::Key_Backspace, Qt::ControlModifier, QStringLiteral("\b"), QStringLiteral("345")},
  };
  for (const Key& key : keys) {
    FilterEdit* number = field(FilterKind::kDigits, 20, FilterEdit::ChangeRule::kUpperCase);
    number->setText(QStringLiteral("12 345"));
    number->setCursorPosition(3);
    QTest::sendKeyEvent(QTest::Click, number, key.key, key.text, key.modifiers);
    EXPECT_EQ(number->text(), key.after) << key.key << " " << int(key.modifiers);
  }
  EXPECT_EQ(beeps_.count, 0);

  FilterEdit* number = field(FilterKind::kDigits, 20, FilterEdit::ChangeRule::kUpperCase);
  window_.show();
  QApplication::clipboard()->setText(QStringLiteral("abc"));
  QApplication::clipboard()->setText(QStringLiteral("abc"), QClipboard::Selection);
  QTest::mouseClick(number, Qt::MiddleButton);
  EXPECT_EQ(number->text(), QString());
  EXPECT_FALSE(number->acceptDrops());
  // The context menu offers Paste grayed.
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                              number->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(number, &menuEvent);
  QMenu* menu = number->findChild<QMenu*>();
  ASSERT_NE(menu, nullptr);
  bool pasteOffered = false;
  for (QAction* action : menu->actions()) {
    if (action->objectName() == QLatin1String("edit-paste"))
      pasteOffered = action->isEnabled();
  }
  EXPECT_FALSE(pasteOffered);
  menu->close();
}

}  // namespace
}  // namespace vornik
