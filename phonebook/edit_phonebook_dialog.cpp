#include "phonebook/edit_phonebook_dialog.h"

#include "phonebook/phonebook_controls.h"
#include "phonebook/phonebook_edits.h"
#include "res/ids_entry.h"
#include "res/templates.h"
#include "ui/beep.h"
#include "ui/filter_edit.h"

namespace vornik {
namespace {

namespace ids = res::entry_ids;

struct FieldSetup {
  FilterKind kind;
  int maxLength;
};
constexpr FieldSetup kName = {FilterKind::kName, int(kEntryNameSize)};
constexpr FieldSetup kNumber = {FilterKind::kDialString, int(kDialDataSize)};

void SetUpField(FilterEdit* edit, const FieldSetup& setup, std::string_view text) {
  edit->setMaxLength(setup.maxLength);
  edit->setFilterKind(setup.kind);
  edit->setChangeRule(FilterEdit::ChangeRule::kUpperCase);
  edit->setText(EntryText(text));
}

}  // namespace

CEditPhonebook::CEditPhonebook(int index, QWidget* parent) : QDialog(parent) {
  controls_ = res::BuildDialog(res::kTemplate112, this);
  res::LocalizeDialog(controls_);
  const PhonebookEntry& entry = PhonebookStore.entries.at(size_t(index));
  SetUpField(nameEdit(), kName, EntryName(entry));
  SetUpField(numberEdit(), kNumber, EntryDialNumber(entry));
  SetUpOkCancel(controls_, this, [this] { onOk(); });
}

FilterEdit* CEditPhonebook::nameEdit() const {
  return controls_.find<FilterEdit>(ids::kName);
}

FilterEdit* CEditPhonebook::numberEdit() const {
  return controls_.find<FilterEdit>(ids::kNumber);
}

void CEditPhonebook::onOk() {
  const std::string number = EntryBytes(numberEdit()->text());
  if (!DialNumberAcceptable(number)) {
    Beep();
    return;
  }
  name_ = EntryBytes(nameEdit()->text());
  number_ = number;
  accept();
}

}  // namespace vornik
