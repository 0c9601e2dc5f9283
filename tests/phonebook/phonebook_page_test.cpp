// The Phonebook page and its two dialogs, driven as a user drives them, against the
// simulated device (its factory phonebook: speed dials 0 to 5, and group 19 holding 0 to 3).
#include <gmock/gmock.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

#include "devsim/simulated_device.h"
#include "lang/lang_text.h"
#include "link/command_frame.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "phonebook/edit_phonebook_dialog.h"
#include "phonebook/group_dial_dialog.h"
#include "phonebook/phonebook_page.h"
#include "phonebook/phonebook_store.h"
#include "platform/fake_platform.h"
#include "res/ids_group_dial.h"
#include "res/ids_phonebook.h"
#include "tests/support/modal_answers.h"
#include "ui/beep.h"
#include "ui/filter_edit.h"

namespace vornik::test {
namespace {

namespace page_ids = res::phonebook_ids;
namespace group_ids = res::group_dial_ids;

using testing::ElementsAre;

void Click(QWidget* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

// Where to point at `row` of a list, scrolled into view.
QPoint RowPoint(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  list->scrollToItem(item);
  return list->visualItemRect(item).center();
}

// Selects `rows` of a list with control-clicks, nothing else.
void SelectRows(QTreeWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int row : rows)
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(list, row));
}

QStringList Column(QTreeWidget* list, int column) {
  QStringList texts;
  for (int row = 0; row < list->topLevelItemCount(); ++row)
    texts << list->topLevelItem(row)->text(column);
  return texts;
}

void PutSimText(std::span<uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), ' ');
  std::copy(text.begin(), text.end(), field.begin());
}

class PhonebookPageTest : public testing::Test {
 protected:
  PhonebookPageTest() {
    Connection = ConnectionState{};
    Connection.PortKind = kPortEcp1;
    Connection.osFlavour = OsFlavour::Nt5;
    DefaultMachineState();
    AllocatePhonebookStore();
    LanguageFilePath = VORNIK_ENGLISH_FILE;
    fake.devices.add(PortNameTable[kPortEcp1], sim.factory());
    sim.model.setObserver([this](devsim::Traffic traffic, std::span<const uint8_t> frame) {
      if (traffic == devsim::Traffic::kRequest && frame.size() > 7)
        operations.push_back(frame[7]);
    });
  }
  ~PhonebookPageTest() override {
    FreePhonebookStore();
    LanguageFilePath.clear();
  }

  void openPage() {
    page->ensureInitialized();
    host.resize(page->size());
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }
  QTreeWidget* list() { return page->list(); }
  QString cell(int row, int column) { return list()->topLevelItem(row)->text(column); }
  QPushButton* button(int id) { return page->controls().find<QPushButton>(id); }
  void selectRow(int row) { SelectRows(list(), {row}); }
  // A double-click's first click selects the row, as the platform delivers it.
  void doubleClickRow(int row) {
    const QPoint point = RowPoint(list(), row);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, point);
  }
  // Runs `act` on the next modal window of kind T as soon as it is shown.
  template <class T>
  void whenShown(std::function<void(T*)> act) {
    dialogWatch = std::make_unique<QTimer>();
    QObject::connect(dialogWatch.get(), &QTimer::timeout, [this, act] {
      if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
        dialogWatch->stop();
        ++dialogsShown;
        act(window);
      }
    });
    dialogWatch->start(1);
  }
  devsim::PhonebookSlot& simSlot(size_t index) { return sim.model.content().phonebook[index]; }
  PhonebookEntry& entry(size_t index) { return PhonebookStore.entries.at(index); }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  std::vector<uint8_t> operations;  // the operation byte of every request the device took
  BoxCloser boxes;
  std::unique_ptr<QTimer> dialogWatch;
  int dialogsShown = 0;
  BeepRecorder beeps;
  QWidget host;
  CPhonebook* page = new CPhonebook(&host);
};

TEST_F(PhonebookPageTest, ShowsTheDevicesSpeedDialsNumberedFromZero) {
  openPage();
  ASSERT_EQ(list()->topLevelItemCount(), 100);
  EXPECT_EQ(cell(0, 0), QStringLiteral("  0"));
  EXPECT_EQ(cell(99, 0), QStringLiteral(" 99"));
  EXPECT_TRUE(list()->topLevelItem(7)->textAlignment(0) & Qt::AlignRight);
  EXPECT_THAT(Column(list(), 1).mid(0, 3), ElementsAre("FRONT DESK", "ACCOUNTING", "WAREHOUSE"));
  EXPECT_EQ(cell(3, 2), QStringLiteral("0114930555012"));
  EXPECT_EQ(cell(19, 1), QStringLiteral("ALL BRANCHES"));
  EXPECT_EQ(cell(19, 2), QStringLiteral("*GROUP DIAL*"));
  EXPECT_EQ(list()->headerItem()->text(0), QStringLiteral("No."));
  EXPECT_EQ(list()->columnWidth(0), 40);
  EXPECT_EQ(list()->columnWidth(1), 150);
  EXPECT_EQ(list()->columnWidth(2), list()->contentsRect().width() -
                                        list()->style()->pixelMetric(QStyle::PM_ScrollBarExtent) -
                                        190);
  auto* speedDials = page->controls().find<QRadioButton>(page_ids::kSpeedDialType);
  EXPECT_EQ(speedDials->text(), QStringLiteral("Speed dial ( 0 ~ 99 )"));
  EXPECT_TRUE(speedDials->isChecked());
  EXPECT_FALSE(page->controls().control(page_ids::kOneTouchType)->isVisible());
  EXPECT_EQ(page->selectedEntry(), 0);
  EXPECT_TRUE(button(page_ids::kWrite)->isEnabled());
  EXPECT_EQ(boxes.shown, 0);
  EXPECT_THAT(operations, ElementsAre(kOpReadRecord));
}

TEST_F(PhonebookPageTest, EditAndGroupDialFollowTheSelectionByMouseAndKeyboard) {
  openPage();
  selectRow(19);
  EXPECT_FALSE(button(page_ids::kEdit)->isEnabled());
  EXPECT_TRUE(button(page_ids::kGroupDial)->isEnabled());
  // Reached all the same, Edit refuses a group with a beep and opens no entry dialog.
  bool dialogOpened = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      dialogOpened = true;
      dialog->reject();
    }
  });
  watch.start(1);
  button(page_ids::kEdit)->setEnabled(true);
  Click(button(page_ids::kEdit));
  watch.stop();
  EXPECT_FALSE(dialogOpened);
  EXPECT_EQ(beeps.count, 1);
  QTest::keyClick(list(), Qt::Key_Down);  // an empty entry
  EXPECT_TRUE(button(page_ids::kEdit)->isEnabled());
  EXPECT_TRUE(button(page_ids::kGroupDial)->isEnabled());
  selectRow(5);
  EXPECT_TRUE(button(page_ids::kEdit)->isEnabled());
  EXPECT_FALSE(button(page_ids::kGroupDial)->isEnabled());
  list()->clearSelection();
  for (int id : {page_ids::kEdit, page_ids::kGroupDial, page_ids::kDelete}) {
    button(id)->setEnabled(true);
    Click(button(id));
  }
  EXPECT_EQ(beeps.count, 4);  // and three with nothing selected
}

// From the keyboard alone: Enter in the list opens the chosen entry as a double click
// does, Delete deletes it as the Delete button does.
TEST_F(PhonebookPageTest, EnterOpensTheChosenEntryAndDeleteDeletesIt) {
  openPage();
  whenShown<CGroupDial>(
      [](CGroupDial* dialog) { Click(dialog->controls().control(group_ids::kCancel)); });
  selectRow(19);
  QTest::keyClick(list(), Qt::Key_Return);
  EXPECT_EQ(dialogsShown, 1);
  QTest::keyClick(list(), Qt::Key_Delete);
  EXPECT_EQ(cell(19, 1), QString());
  EXPECT_EQ(beeps.count, 0);
}

TEST_F(PhonebookPageTest, DeleteRefusesAHeldEntryUntilItsLastGroupIsDeleted) {
  openPage();
  const auto before = PhonebookStore.entries;
  selectRow(0);
  Click(button(page_ids::kDelete));
  EXPECT_EQ(beeps.count, 1);
  EXPECT_EQ(cell(0, 1), QStringLiteral("FRONT DESK"));
  EXPECT_EQ(std::memcmp(before.data(), PhonebookStore.entries.data(), 7000), 0);

  selectRow(19);
  Click(button(page_ids::kDelete));
  EXPECT_EQ(cell(19, 1), QString());
  EXPECT_EQ(cell(19, 2), QString());
  EXPECT_EQ(entry(0).inUseFlag, 0);
  selectRow(0);
  Click(button(page_ids::kDelete));
  EXPECT_EQ(cell(0, 1), QString());
  EXPECT_EQ(EntryName(entry(0)), "");
  EXPECT_EQ(beeps.count, 1);
}

// Read takes the device's groups anew: what they hold now cannot be deleted, what they held
// before can.
TEST_F(PhonebookPageTest, ReadRebuildsWhatTheGroupsHold) {
  openPage();
  devsim::PhonebookSlot& group = simSlot(19);
  group.dialData.fill(0);
  group.dialData[0] = 0x04;  // speed dial 5 only
  for (int slot : {0, 1, 2, 3, 5})
    simSlot(slot).inUseFlag = 0;  // held by the group alone, not marked by the device
  Click(button(page_ids::kRead));
  selectRow(5);
  Click(button(page_ids::kDelete));
  EXPECT_EQ(beeps.count, 1);
  EXPECT_EQ(cell(5, 1), QStringLiteral("J. MORALES"));
  selectRow(0);
  Click(button(page_ids::kDelete));
  EXPECT_EQ(beeps.count, 1);
  EXPECT_EQ(cell(0, 1), QString());
}

// Delete All asks first; the entries it keeps are counted in one message, never a beep each.
TEST_F(PhonebookPageTest, DeleteAllAsksFirstAndTellsTheKeptEntriesInOneMessage) {
  simSlot(19).inUseFlag = 1;  // chosen by a key on the device
  devsim::PhonebookSlot& spare = simSlot(30);
  spare.groupFlag = 1;
  PutSimText(spare.name, "SPARE");
  spare.dialData.fill(0);
  spare.dialData[0] = 0x0C;  // speed dials 4 and 5
  simSlot(4).inUseFlag = simSlot(5).inUseFlag = 1;
  openPage();
  const QStringList names = Column(list(), 1);
  boxes.answers[QStringLiteral("DeleteAllQuestion")] = QStringLiteral("Keep the entries");
  Click(button(page_ids::kDeleteAll));
  EXPECT_EQ(Column(list(), 1), names);
  EXPECT_FALSE(page->hasUnsentEdits());

  boxes.answers.clear();
  Click(button(page_ids::kDeleteAll));
  EXPECT_EQ(boxes.questions.size(), 2);
  EXPECT_EQ(boxes.told, QStringList{QStringLiteral(
                            "Entries kept because a group dial or a key of the device still uses "
                            "them: 5")});
  EXPECT_EQ(beeps.count, 0);
  EXPECT_THAT(Column(list(), 1).mid(0, 6),
              ElementsAre("FRONT DESK", "ACCOUNTING", "WAREHOUSE", "HEAD OFFICE", "", ""));
  EXPECT_EQ(cell(19, 2), QStringLiteral("*GROUP DIAL*"));
  EXPECT_EQ(cell(30, 1), QString());
  EXPECT_EQ(entry(4).inUseFlag, 0);
  EXPECT_EQ(page->selectedEntry(), 0);
  EXPECT_TRUE(page->hasUnsentEdits());
}

TEST_F(PhonebookPageTest, EntryDialogKeepsCapitalsAndTakesOnlyANumberWithADigit) {
  SetEntryName(entry(8), "old name");
  CEditPhonebook dialog(8);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Phonebook entry"));
  EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("OLD NAME"));
  EXPECT_EQ(dialog.nameEdit()->maxLength(), 20);
  EXPECT_EQ(dialog.numberEdit()->maxLength(), 46);
  QTest::keyClicks(dialog.nameEdit(), QStringLiteral(" x"));
  EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("OLD NAME X"));
  QTest::keyClicks(dialog.numberEdit(), QStringLiteral("p"));
  EXPECT_EQ(dialog.numberEdit()->text(), QStringLiteral("P"));
  dialog.numberEdit()->setText(QStringLiteral("*#*"));
  Click(dialog.controls().control(group_ids::kOk));
  EXPECT_EQ(beeps.count, 1);
  EXPECT_TRUE(dialog.isVisible());
  dialog.numberEdit()->clear();
  QTest::keyClicks(dialog.numberEdit(), QStringLiteral("pp1"));
  QTest::keyClick(dialog.numberEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.name(), "OLD NAME X");
  EXPECT_EQ(dialog.number(), "PP1");
  EXPECT_EQ(EntryName(entry(8)), "old name");  // the page stores it, not the dialog
}

TEST_F(PhonebookPageTest, ReadEditWritePutsTheEditedEntryOnTheDevice) {
  openPage();
  PutSimText(simSlot(7).name, "ADDED ON DEVICE");
  PutSimText(simSlot(7).dialData, "5550177");
  Click(button(page_ids::kRead));
  EXPECT_EQ(cell(7, 1), QStringLiteral("ADDED ON DEVICE"));

  whenShown<CEditPhonebook>([](CEditPhonebook* dialog) {
    QTest::keyClicks(dialog->nameEdit(), QStringLiteral("new entry"));
    QTest::keyClicks(dialog->numberEdit(), QStringLiteral("0301p555"));
    Click(dialog->controls().control(group_ids::kOk));
  });
  doubleClickRow(10);
  ASSERT_EQ(dialogsShown, 1);
  EXPECT_EQ(cell(10, 1), QStringLiteral("NEW ENTRY"));
  EXPECT_EQ(cell(10, 2), QStringLiteral("0301P555"));
  EXPECT_EQ(host.focusWidget(), list());
  Click(button(page_ids::kWrite));
  EXPECT_EQ(boxes.shown, 0);
  EXPECT_EQ(std::string(simSlot(10).name.begin(), simSlot(10).name.begin() + 10), "NEW ENTRY ");
  EXPECT_EQ(std::string(simSlot(10).dialData.begin(), simSlot(10).dialData.begin() + 9),
            "0301P555 ");
  EXPECT_EQ(simSlot(19).groupFlag, 1);
  EXPECT_EQ(simSlot(7).dialData[0], '5');
  EXPECT_THAT(operations, ElementsAre(kOpReadRecord, kOpReadRecord, kOpWriteRecord));
}

TEST_F(PhonebookPageTest, GroupDialAddsSpeedDialsAsTheirMemberBits) {
  PutSimText(simSlot(12).name, "TWELVE");
  PutSimText(simSlot(12).dialData, "5550112");
  openPage();
  whenShown<CGroupDial>([](CGroupDial* dialog) {
    EXPECT_EQ(dialog->includedList()->topLevelItemCount(), 0);
    EXPECT_THAT(Column(dialog->availableList(), 0),
                ElementsAre("SD  0", "SD  1", "SD  2", "SD  3", "SD  4", "SD  5", "SD 12"));
    QTest::keyClicks(dialog->nameEdit(), QStringLiteral("team"));
    SelectRows(dialog->availableList(), {3, 6});
    Click(dialog->controls().control(group_ids::kAdd));
    EXPECT_THAT(Column(dialog->includedList(), 0), ElementsAre("SD  3", "SD 12"));
    EXPECT_EQ(dialog->availableList()->topLevelItemCount(), 5);
    EXPECT_EQ(PhonebookStore.ReferenceCounts[3], 2);
    Click(dialog->controls().control(group_ids::kOk));
  });
  selectRow(40);
  Click(button(page_ids::kGroupDial));
  ASSERT_EQ(dialogsShown, 1);
  EXPECT_EQ(entry(40).groupFlag, 1);
  EXPECT_EQ(EntryName(entry(40)), "TEAM");
  EXPECT_EQ(entry(40).dialData[0], 0x10);
  EXPECT_EQ(entry(40).dialData[1], 0x08);
  EXPECT_EQ(std::count(entry(40).dialData, entry(40).dialData + 46, 0), 44);
  EXPECT_EQ(cell(40, 2), QStringLiteral("*GROUP DIAL*"));
  EXPECT_FALSE(button(page_ids::kEdit)->isEnabled());
}

TEST_F(PhonebookPageTest, CancelLeavesTheStoreTheListAndTheCountsAsTheyWere) {
  openPage();
  const auto entries = PhonebookStore.entries;
  const auto counts = PhonebookStore.ReferenceCounts;
  const QStringList names = Column(list(), 1);
  whenShown<CGroupDial>([](CGroupDial* dialog) {
    SelectRows(dialog->includedList(), {0, 2});
    Click(dialog->controls().control(group_ids::kRemove));
    SelectRows(dialog->availableList(), {0});
    Click(dialog->controls().control(group_ids::kAdd));
    EXPECT_NE(PhonebookStore.ReferenceCounts[4], 0);
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  doubleClickRow(19);
  whenShown<CEditPhonebook>([](CEditPhonebook* dialog) {
    QTest::keyClicks(dialog->nameEdit(), QStringLiteral("changed"));
    Click(dialog->controls().control(group_ids::kCancel));
  });
  doubleClickRow(2);
  EXPECT_EQ(dialogsShown, 2);
  EXPECT_EQ(std::memcmp(entries.data(), PhonebookStore.entries.data(), 7000), 0);
  EXPECT_EQ(PhonebookStore.ReferenceCounts, counts);
  EXPECT_EQ(Column(list(), 1), names);
}

TEST_F(PhonebookPageTest, RemovingEveryMemberEmptiesTheGroupAndFreesItsMembers) {
  openPage();
  whenShown<CGroupDial>([](CGroupDial* dialog) {
    EXPECT_THAT(Column(dialog->includedList(), 1),
                ElementsAre("FRONT DESK", "ACCOUNTING", "WAREHOUSE", "HEAD OFFICE"));
    dialog->includedList()->selectAll();
    Click(dialog->controls().control(group_ids::kRemove));
    // Removed members go to the end of the available list.
    EXPECT_THAT(Column(dialog->availableList(), 0),
                ElementsAre("SD  4", "SD  5", "SD  0", "SD  1", "SD  2", "SD  3"));
    Click(dialog->controls().control(group_ids::kOk));
  });
  doubleClickRow(19);
  ASSERT_EQ(dialogsShown, 1);
  EXPECT_EQ(cell(19, 1), QString());
  EXPECT_EQ(cell(19, 2), QString());
  EXPECT_EQ(entry(19).groupFlag, 0);
  selectRow(1);
  Click(button(page_ids::kDelete));
  EXPECT_EQ(cell(1, 1), QString());
  EXPECT_EQ(beeps.count, 0);
}

// Write after a failed first read would empty the device's phonebook: it stays disabled
// until a read succeeds or a file is loaded.
TEST_F(PhonebookPageTest, FailedFirstReadLeavesWriteDisabledAndTheDeviceUntouched) {
  const auto book = sim.model.content().phonebook;
  sim.model.setFault(devsim::Fault::kSilent);
  openPage();
  EXPECT_EQ(boxes.shown, 1);
  ASSERT_EQ(list()->topLevelItemCount(), 100);
  EXPECT_EQ(cell(0, 1), QString());
  EXPECT_FALSE(button(page_ids::kWrite)->isEnabled());
  Click(button(page_ids::kWrite));
  QTest::keyClick(button(page_ids::kWrite), Qt::Key_Space);
  EXPECT_THAT(operations, testing::Each(kOpReadRecord));
  EXPECT_EQ(sim.model.content().phonebook[0].name, book[0].name);

  sim.model.setFault(devsim::Fault::kSilent, false);
  Click(button(page_ids::kRead));
  EXPECT_TRUE(button(page_ids::kWrite)->isEnabled());
  EXPECT_EQ(cell(0, 1), QStringLiteral("FRONT DESK"));

  CPhonebook* fresh = new CPhonebook(&host);
  sim.model.setFault(devsim::Fault::kBusy);
  fresh->ensureInitialized();
  auto* write = fresh->controls().find<QPushButton>(page_ids::kWrite);
  EXPECT_FALSE(write->isEnabled());
  fresh->refillList();  // a phonebook file was loaded
  EXPECT_TRUE(write->isEnabled());
  EXPECT_EQ(fresh->list()->topLevelItem(0)->text(1), QStringLiteral("FRONT DESK"));
}

}  // namespace
}  // namespace vornik::test
