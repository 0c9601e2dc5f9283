#include "ui/filter_edit.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

#include "ui/beep.h"

namespace vornik {

bool nonAsciiTyped = false;

namespace {

constexpr int kBackspace = 8;
constexpr int kNoCharacter = -1;

// The character a key types, as the platform would deliver it: a control character for
// Ctrl with a letter and for the paste, cut, undo and redo keys; kNoCharacter for keys that
// type nothing (arrows, Delete, Enter, Escape, Tab), which the edit or the dialog handle.
// Backspace, with any modifier, is the backspace character, which every field takes.
int TypedCharacter(const QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Backspace) {
    return kBackspace;
  }
  // Delete edits without typing; X11 attaches the text "\x7f" to it, with or without Ctrl.
  if (key == Qt::Key_Delete) {
    return kNoCharacter;
  }
  const Qt::KeyboardModifiers mods = event->modifiers();
  if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
      key <= Qt::Key_Z) {
    return key - Qt::Key_A + 1;
  }
  if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
      event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    return 0x16;
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kNoCharacter;
    default:
      break;
  }
  const QString text = event->text();
  if (text.isEmpty()) {
    return kNoCharacter;
  }
  int code = 0;
  for (QChar c : text) {
    code = std::max(code, static_cast<int>(c.unicode()));
  }
  return code;
}

}  // namespace

FilterEdit::FilterEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, &FilterEdit::applyChangeRule);
  // Text dropped into the field would skip the character rule, as a paste would.
  setAcceptDrops(false);
}

void FilterEdit::setChangeRule(ChangeRule rule) {
  rule_ = rule;
  lastText_ = text();
}

void FilterEdit::keyPressEvent(QKeyEvent* event) {
  const int code = TypedCharacter(event);
  if (code == kNoCharacter) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (code >= 128) {
    nonAsciiTyped = true;
    typeThrough(event, false);
    return;
  }
  nonAsciiTyped = false;
  if (!accepts(kind_, code)) {
    event->accept();
    Beep();
    return;
  }
  typeThrough(event, upperCaseStyle_);
}

void FilterEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty() && event->replacementLength() == 0) {
    QLineEdit::inputMethodEvent(event);  // the text being composed, not yet part of the field
    return;
  }
  // The composition ends (and the text it replaces goes) before its characters are typed in.
  QInputMethodEvent ending;
  ending.setCommitString(QString(), event->replacementStart(), event->replacementLength());
  QLineEdit::inputMethodEvent(&ending);
  const QString committed = event->commitString();
  for (qsizetype at = 0; at < committed.size();) {
    // A character beyond the first 65536 comes as a pair of surrogates: one typed character.
    const qsizetype length = committed[at].isHighSurrogate() && at + 1 < committed.size() &&
                                     committed[at + 1].isLowSurrogate()
                                 ? 2
                                 : 1;
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, committed.mid(at, length));
    keyPressEvent(&typed);
    at += length;
  }
  QInputMethodEvent composing(event->preeditString(), event->attributes());
  QLineEdit::inputMethodEvent(&composing);
  event->accept();
}

void FilterEdit::mouseReleaseEvent(QMouseEvent* event) {
  // X11 pastes the selection on a middle click: refused like every other paste.
  if (event->button() == Qt::MiddleButton) {
    event->accept();
    Beep();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void FilterEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The menu's Paste would skip the character rule: it is offered grayed, as Ctrl+V is
  // refused.
  QMenu* menu = createStandardContextMenu();
  for (QAction* action : menu->actions()) {
    if (action->objectName() == QLatin1String("edit-paste"))
      action->setEnabled(false);
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void FilterEdit::typeThrough(QKeyEvent* event, bool upperCase) {
  typing_ = true;
  if (upperCase) {
    QKeyEvent capital(event->type(), event->key(), event->modifiers(), event->text().toUpper(),
                      event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&capital);
    event->setAccepted(capital.isAccepted());
  } else {
    QLineEdit::keyPressEvent(event);
  }
  typing_ = false;
}

void FilterEdit::applyChangeRule() {
  if (rule_ == ChangeRule::kNone || applyingRule_) {
    return;
  }
  applyingRule_ = true;
  const int caret = cursorPosition();
  if (nonAsciiTyped && typing_) {
    // The keystroke put in a character of code 128 or more: back to the text before it,
    // without any such character, the caret where the typing left it.
    const QString typed = text();
    int removedBeforeCaret = 0;
    for (int i = 0; i < caret && i < typed.size(); ++i) {
      removedBeforeCaret += typed[i].unicode() >= 128 ? 1 : 0;
    }
    QString restored;
    for (QChar c : lastText_) {
      if (c.unicode() < 128) {
        restored.append(c);
      }
    }
    setText(restored);
    setCursorPosition(std::max(0, caret - removedBeforeCaret));
    Beep();
  } else if (rule_ == ChangeRule::kUpperCase) {
    QString upper = text();
    for (QChar& c : upper) {
      c = c.toUpper();
    }
    if (upper != text()) {
      setText(upper);
      setCursorPosition(caret);
    }
  }
  lastText_ = text();
  applyingRule_ = false;
}

}  // namespace vornik
