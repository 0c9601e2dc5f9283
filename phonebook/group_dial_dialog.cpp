#include "phonebook/group_dial_dialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "link/machine_state.h"
#include "phonebook/group_dial_selection.h"
#include "phonebook/phonebook_controls.h"
#include "res/ids_group_dial.h"
#include "res/templates.h"
#include "ui/filter_edit.h"

namespace vornik {
namespace {

namespace ids = res::group_dial_ids;

constexpr int kNameColumnWidth = 100;
constexpr int kPhoneColumnWidth = 200;
constexpr int kStoreIndexRole = Qt::UserRole;

void AppendEntryRow(QTreeWidget* list, int index) {
  auto* row = new QTreeWidgetItem;
  ShowEntryInRow(row, QString::fromLatin1(EntryLabel(index)),
                 PhonebookStore.entries.at(size_t(index)));
  row->setData(0, kStoreIndexRole, index);
  list->addTopLevelItem(row);
}

int StoreIndexOf(const QTreeWidgetItem* row) {
  return row->data(0, kStoreIndexRole).toInt();
}

// The selected rows, taken out of `list` in ascending row order.
std::vector<QTreeWidgetItem*> TakeSelectedRows(QTreeWidget* list) {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : list->selectedItems())
    rows.push_back(list->indexOfTopLevelItem(item));
  std::sort(rows.begin(), rows.end());
  std::vector<QTreeWidgetItem*> taken;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    taken.insert(taken.begin(), list->takeTopLevelItem(*row));
  return taken;
}

}  // namespace

CGroupDial::CGroupDial(std::string_view name, GroupMemberSetView members, QWidget* parent)
    : QDialog(parent) {
  controls_ = res::BuildDialog(res::kTemplate143, this);
  res::LocalizeDialog(controls_);
  // The edit's own upper-case style makes typed letters capitals; no change rule runs here.
  nameEdit()->setMaxLength(int(kEntryNameSize));
  nameEdit()->setFilterKind(FilterKind::kName);
  nameEdit()->setText(EntryText(name));
  SetUpOkCancel(controls_, this, [this] { onOk(); });

  ClearSelectionState();
  countsAtOpen_ = PhonebookStore.ReferenceCounts;
  AddEntryColumns(includedList(), kNameColumnWidth, kPhoneColumnWidth);
  for (int member : IncludeInitialMembers(members))
    AppendEntryRow(includedList(), member);
  AddEntryColumns(availableList(), kNameColumnWidth, kPhoneColumnWidth);
  chooseType(kSpeedDialType);

  connect(controls_.find<QPushButton>(ids::kAdd), &QPushButton::clicked, this,
          &CGroupDial::addSelected);
  connect(controls_.find<QPushButton>(ids::kRemove), &QPushButton::clicked, this,
          &CGroupDial::removeSelected);
  connect(controls_.find<QComboBox>(ids::kTypeList), &QComboBox::activated, this,
          &CGroupDial::chooseType);
}

FilterEdit* CGroupDial::nameEdit() const {
  return controls_.find<FilterEdit>(ids::kName);
}

QTreeWidget* CGroupDial::includedList() const {
  return controls_.find<QTreeWidget>(ids::kIncludedList);
}

QTreeWidget* CGroupDial::availableList() const {
  return controls_.find<QTreeWidget>(ids::kAvailableList);
}

void CGroupDial::chooseType(int type) {
  typeChoice_ = type;
  controls_.find<QComboBox>(ids::kTypeList)->setCurrentIndex(type);
  range_ = DialTypeRange(type == kOneTouchType);
  fillAvailable();
}

void CGroupDial::fillAvailable() {
  availableList()->clear();
  for (int index : AvailableEntries(range_.first, range_.end))
    AppendEntryRow(availableList(), index);
}

void CGroupDial::addSelected() {
  for (QTreeWidgetItem* row : TakeSelectedRows(availableList())) {
    IncludeEntry(StoreIndexOf(row));
    includedList()->addTopLevelItem(row);
  }
}

void CGroupDial::removeSelected() {
  for (QTreeWidgetItem* row : TakeSelectedRows(includedList())) {
    const int index = StoreIndexOf(row);
    RemoveEntry(index);
    const bool speedDial = index < MachineState.SpeedDialCount;
    if (speedDial == (typeChoice_ == kSpeedDialType))
      availableList()->addTopLevelItem(row);  // at the end, not in store order
    else
      delete row;
  }
}

void CGroupDial::onOk() {
  memberSet_ = IncludedMemberSet();
  name_ = EntryBytes(nameEdit()->text());
  accept();
}

void CGroupDial::reject() {
  if (countsAtOpen_.size() == PhonebookStore.ReferenceCounts.size())
    PhonebookStore.ReferenceCounts = countsAtOpen_;
  QDialog::reject();
}

}  // namespace vornik
