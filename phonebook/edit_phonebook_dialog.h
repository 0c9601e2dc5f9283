// `CEditPhonebook`: the entry dialog (template 112, section "EDIT_PHONEBOOK"). It edits
// the name and the dial number of one ordinary entry, both kept in capitals while typed,
// and closes with OK only for a number of 3 characters or more with a digit among them.
// The store is not touched: the page stores the texts when the dialog ends with OK.
#pragma once

#include <QDialog>
#include <string>

#include "res/dialog_builder.h"

namespace vornik {

class FilterEdit;

class CEditPhonebook : public QDialog {
  Q_OBJECT

 public:
  // Shows the name and the number of the store entry at `index`.
  explicit CEditPhonebook(int index, QWidget* parent = nullptr);

  // The texts as the dialog closed with OK.
  const std::string& name() const { return name_; }
  const std::string& number() const { return number_; }

  FilterEdit* nameEdit() const;
  FilterEdit* numberEdit() const;
  const res::DialogControls& controls() const { return controls_; }

 private:
  // OK, by the button or Enter: a number without a digit, or shorter than 3, beeps and
  // keeps the dialog open.
  void onOk();

  res::DialogControls controls_;
  std::string name_;
  std::string number_;
};

}  // namespace vornik
