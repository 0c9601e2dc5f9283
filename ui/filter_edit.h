// The edit field of every text that goes to the device: typed characters outside the
// field's kind are refused with a beep, and the change rule keeps the text clean.
#pragma once

#include <QLineEdit>

#include "link/field_characters.h"

namespace vornik {

// Whether the last character typed into any FilterEdit had a code of 128 or more.
extern bool nonAsciiTyped;

class FilterEdit : public QLineEdit {
  Q_OBJECT

 public:
  // What happens whenever the text changes (typed or set by the program).
  enum class ChangeRule {
    kNone,       // nothing: a character of code 128 or more that was typed stays
    kKeepCase,   // characters of code 128 or more typed in are taken out again, with a beep
    kUpperCase,  // as kKeepCase, and the text is turned into capitals
  };

  explicit FilterEdit(QWidget* parent = nullptr);

  // Set by the owning window at its initialization, after the length limit.
  void setFilterKind(FilterKind kind) { kind_ = kind; }
  FilterKind filterKind() const { return kind_; }
  void setChangeRule(ChangeRule rule);
  // The field's own upper-case style: typed letters are inserted as capitals.
  void setUpperCaseStyle(bool upperCase) { upperCaseStyle_ = upperCase; }

  // Whether a field of `kind` accepts the typed character `code` (below 128).
  static bool accepts(FilterKind kind, int code) { return FieldAccepts(kind, code); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Text an input method or a dead key commits is taken as if each character were typed.
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void typeThrough(QKeyEvent* event, bool upperCase);
  void applyChangeRule();

  FilterKind kind_ = FilterKind::kName;
  ChangeRule rule_ = ChangeRule::kNone;
  bool upperCaseStyle_ = false;
  bool typing_ = false;
  bool applyingRule_ = false;
  QString lastText_;  // the text as the change rule last left it
};

}  // namespace vornik
