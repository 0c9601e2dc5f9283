#include "phonebook/edit_phonebook_dialog.h"

#include "phonebook/entry_list.h"
#include "phonebook/phonebook_edits.h"
#include "res/pictures.h"
#include "res/templates.h"
#include "ui/beep.h"
#include "ui/filter_edit.h"
#include "ui/image_button.h"

namespace vornik {
namespace {

constexpr int kNameEdit = 1002;
constexpr int kNumberEdit = 1001;
constexpr int kOkButton = 1;
constexpr int kCancelButton = 2;

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
  auto* ok = controls_.find<ImageButton>(kOkButton);
  auto* cancel = controls_.find<ImageButton>(kCancelButton);
  ok->setIconResource(res::kIconOk);
  cancel->setIconResource(res::kIconCancel);
  connect(ok, &QPushButton::clicked, this, &CEditPhonebook::onOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FilterEdit* CEditPhonebook::nameEdit() const {
  return controls_.find<FilterEdit>(kNameEdit);
}

FilterEdit* CEditPhonebook::numberEdit() const {
  return controls_.find<FilterEdit>(kNumberEdit);
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
