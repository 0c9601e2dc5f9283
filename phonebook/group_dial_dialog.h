// `CGroupDial`: the group dial dialog (template 143, section "GROUP_DIAL"). It composes one
// group entry: its name, and its members moved between the included list and the list of
// available speed dials. `ReferenceCounts` follow every move at once; Cancel (the button,
// Escape or the close box) puts them back as they were when the dialog opened. The entry
// itself is not touched: the page stores the result when the dialog ends with OK.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "phonebook/group_member_set.h"
#include "phonebook/phonebook_edits.h"
#include "res/dialog_builder.h"

class QTreeWidget;

namespace vornik {

class FilterEdit;

class CGroupDial : public QDialog {
  Q_OBJECT

 public:
  // Type choices of the (hidden) type list.
  static constexpr int kOneTouchType = 0;
  static constexpr int kSpeedDialType = 1;

  // Opens on the group's name and member set.
  CGroupDial(std::string_view name, GroupMemberSetView members, QWidget* parent = nullptr);

  // After OK: the name and the composed member set.
  const std::string& name() const { return name_; }
  GroupMemberSetView memberSet() const { return memberSet_; }

  FilterEdit* nameEdit() const;
  QTreeWidget* includedList() const;
  QTreeWidget* availableList() const;
  const res::DialogControls& controls() const { return controls_; }

  void reject() override;

 private:
  // The store range offered and the labels follow the type choice.
  void chooseType(int type);
  void fillAvailable();
  void addSelected();
  void removeSelected();
  void onOk();

  res::DialogControls controls_;
  std::string name_;
  std::array<uint8_t, kGroupMemberSetSize> memberSet_{};
  int typeChoice_ = kOneTouchType;
  StoreRange range_;
  std::vector<uint8_t> countsAtOpen_;
};

}  // namespace vornik
