#include <gmock/gmock.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <functional>

#include "app/main_panel.h"
#include "app/page_sheet.h"
#include "link/debug_trace.h"
#include "panel_fixture.h"
#include "phonebook/group_member_set.h"
#include "phonebook/phonebook_file.h"
#include "phonebook/phonebook_page.h"
#include "res/ids_phonebook.h"
#include "res/ids_settings.h"
#include "res/menus.h"
#include "settings/advanced_page_values.h"
#include "settings/advanced_setup.h"
#include "settings/settings_file.h"
#include "settings/settings_page.h"
#include "tests/settings/advanced_payload.h"
#include "tests/support/modal_answers.h"

namespace vornik::test {
namespace {

constexpr int kPhonebookTab = 2;
constexpr int kAdvancedTab = 1;
namespace phonebook_ids = res::phonebook_ids;

class FileMenuTest : public PanelTest {
 protected:
  FileMenuTest() {
    advancedPageCreated = false;
    skipNextAdvancedRead = false;
    previousDirectory = QDir::currentPath();
    QDir::setCurrent(files.path());
    sim.model.setObserver([this](devsim::Traffic traffic, std::span<const uint8_t> frame) {
      if (traffic != devsim::Traffic::kRequest || frame.size() <= 8)
        return;
      requests.push_back({frame[7], frame[8]});
      if (frame[7] == 0xC2 && frame[8] == 0x40 && frame.size() == 9 + kAdvancedPayloadSize)
        std::copy(frame.begin() + 9, frame.end(), advancedSent.begin());
    });
  }
  ~FileMenuTest() override { QDir::setCurrent(previousDirectory); }

  QString file(const char* name) const {
    return QDir(files.path()).filePath(QString::fromLatin1(name));
  }
  void choose(const QString& path, void (CMainPanel::*command)(), CMainPanel& panel) {
    FileChooser chooser(path);
    (panel.*command)();
  }
  int requestsOf(uint8_t operation, uint8_t record) const {
    return int(std::count(requests.begin(), requests.end(), std::pair{operation, record}));
  }
  static std::vector<uint8_t> TableOf(const std::vector<PhonebookEntry>& entries) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(entries.data());
    return {bytes, bytes + entries.size() * sizeof(PhonebookEntry)};
  }
  QPushButton* pageButton(int tab, int id) const {
    return static_cast<TemplatePage*>(PageSheet->page(tab))->controls().find<QPushButton>(id);
  }

  QTemporaryDir files;
  QString previousDirectory;
  QStringList boxTexts;
  // Each box's text; a save dialog's question whether to replace a file is answered yes.
  BoxCloser boxes{[this](QMessageBox& box) {
    boxTexts.append(box.text());
    if (QAbstractButton* yes = box.button(QMessageBox::Yes))
      yes->click();
  }};
  std::vector<std::pair<uint8_t, uint8_t>> requests;  // operation and record of each request
  AdvancedPayload advancedSent{};                     // the last advanced setup written
};

// Load takes a name typed without its extension; Save appends it; a file that is not a
// phonebook leaves the list as it was and says so.
TEST_F(FileMenuTest, PhonebookFilesByNameWithoutExtension) {
  CMainPanel panel;
  PageSheet->setActivePage(kPhonebookTab);
  SetEntryName(PhonebookStore.entries[7], "SAVED NAME");
  SetEntryDialNumber(PhonebookStore.entries[7], "0301234");
  choose(file("BACKUP"), &CMainPanel::OnSavePhonebook, panel);
  ASSERT_TRUE(QFile::exists(file("BACKUP.PBF")));

  SetEntryName(PhonebookStore.entries[7], "CHANGED");
  choose(QStringLiteral("BACKUP"), &CMainPanel::OnLoadPhonebook, panel);
  EXPECT_EQ(EntryName(PhonebookStore.entries[7]), "SAVED NAME");
  EXPECT_EQ(PhonebookPage->list()->topLevelItem(7)->text(1), QStringLiteral("SAVED NAME"));
  EXPECT_EQ(boxes.shown, 0);

  QFile other(file("OTHER.PBF"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.write(QByteArray("not a phonebook").leftJustified(7040, '\0'));
  other.close();
  choose(file("OTHER.PBF"), &CMainPanel::OnLoadPhonebook, panel);
  EXPECT_EQ(EntryName(PhonebookStore.entries[7]), "SAVED NAME");
  EXPECT_EQ(boxes.shown, 1);
}

// Each dialog starts in the folder the one before ended in.
TEST_F(FileMenuTest, NextDialogStartsInTheFolderUsedLast) {
  CMainPanel panel;
  PageSheet->setActivePage(kPhonebookTab);
  QDir(files.path()).mkdir(QStringLiteral("elsewhere"));
  choose(file("elsewhere/ONE"), &CMainPanel::OnSavePhonebook, panel);
  QString startedIn;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      startedIn = dialog->directory().absolutePath();
      dialog->reject();
    }
  });
  watch.start(1);
  panel.OnLoadPhonebook();
  EXPECT_EQ(startedIn, QDir(file("elsewhere")).absolutePath());
}

// Saved on one start and loaded on a fresh one, a settings file puts both records on both
// pages, the Advanced page without reading the device, and Apply puts them on the device.
TEST_F(FileMenuTest, SettingsFileRoundTripsBothRecordsOntoTheDevice) {
  const auto deviceSystem = sim.model.content().systemSetup;
  const auto deviceAdvanced = sim.model.content().advancedSetup;
  {
    CMainPanel panel;
    choose(file("SETUP"), &CMainPanel::OnSaveSettings, panel);
  }
  ASSERT_TRUE(QFile::exists(file("SETUP.STF")));
  EXPECT_EQ(requestsOf(0xC1, 0x40), 1);  // the Advanced page was never opened: read for the file

  // Another start, on a device whose setup has changed meanwhile.
  sim.model.content().systemSetup.fill(0);
  sim.model.content().advancedSetup.fill(0x20);
  DefaultMachineState();
  advancedPageCreated = false;
  requests.clear();
  CMainPanel panel;
  choose(file("SETUP.STF"), &CMainPanel::OnLoadSettings, panel);
  PageSheet->setActivePage(kAdvancedTab);
  EXPECT_EQ(requestsOf(0xC1, 0x40), 0);
  for (int tab : {0, kAdvancedTab}) {
    auto* apply = static_cast<TemplatePage*>(PageSheet->page(tab))
                      ->controls()
                      .find<QPushButton>(res::settings_ids::kApply);
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
  }
  EXPECT_EQ(sim.model.content().systemSetup, deviceSystem);
  EXPECT_EQ(sim.model.content().advancedSetup, deviceAdvanced);
  EXPECT_EQ(boxes.shown, 0);
}

// Save Settings reads a record the device has not given yet; when that read fails nothing is
// saved and the box says so. A settings file refused on load changes neither page.
TEST_F(FileMenuTest, SettingsAreSavedOnlyFromTheDeviceAndLoadedOnlyWhole) {
  sim.model.setFault(devsim::Fault::kSilent);
  CMainPanel panel;
  ASSERT_EQ(boxes.shown, 1);  // the Settings page's first read
  choose(file("SETUP"), &CMainPanel::OnSaveSettings, panel);
  EXPECT_FALSE(QFile::exists(file("SETUP.STF")));
  EXPECT_EQ(boxes.shown, 2);

  QFile cut(file("CUT.STF"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(QByteArray("ZRV FAX-RCP Settings").leftJustified(24, '\0') +
            QByteArray("1.00").leftJustified(8, '\0'));
  cut.close();
  const SystemSetupRecord before = MachineState.SystemSetup;
  choose(file("CUT.STF"), &CMainPanel::OnLoadSettings, panel);
  EXPECT_EQ(boxes.shown, 3);
  EXPECT_EQ(std::memcmp(&before, &MachineState.SystemSetup, sizeof before), 0);
  EXPECT_FALSE(SettingsPage->recordLoaded());
}

// A file with a second name is rewritten in place; a save that fails after its first byte
// says that the file it names may now be damaged.
TEST_F(FileMenuTest, SaveThatTearsItsFileSaysTheFileMayBeDamaged) {
  CMainPanel panel;
  PageSheet->setActivePage(kPhonebookTab);
  const std::pair<const char*, void (CMainPanel::*)()> saves[] = {
      {"PHONE.PBF", &CMainPanel::OnSavePhonebook},
      {"SETUP.STF", &CMainPanel::OnSaveSettings},
  };
  for (const auto& [name, command] : saves) {
    const QString path = file(name);
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old content");
    old.close();
    std::filesystem::create_hard_link(path.toStdString(), path.toStdString() + ".2");
    fake.storage.room = SIZE_MAX;
    fake.storage.onWrite = [this](int) { fake.storage.room = 0; };
    choose(path, command, panel);
    EXPECT_EQ(boxTexts.value(boxTexts.size() - 1).toStdString(),
              "The file could not be written completely and may now be damaged. Save it again, "
              "or under another name.\n\n" +
                  path.toStdString())
        << name;
  }
}

TEST_F(FileMenuTest, SettingsCommandsAreOfferedOnlyForTheFullModel) {
  for (int model : {2, 3}) {
    MachineState.ModelCode = uint8_t(model);
    CMainPanel panel;
    for (int command : {res::kCmdLoadSettings, res::kCmdSaveSettings}) {
      QAction* action = res::FindMenuCommand(panel.menuBar(), command);
      ASSERT_NE(action, nullptr);
      EXPECT_EQ(action->isEnabled(), model == 2) << model;
    }
  }
}

// The Advanced page's first read failed; the record that comes next, from a settings file or
// from the read that Save Settings makes, shows in every control, and Apply sends exactly
// it, power save and toll-saver window included, its texts trimmed and NUL-padded.
TEST_F(FileMenuTest, AdvancedApplyAfterAFailedReadSendsTheRecordThatCameNext) {
  AdvancedPayload inFile = DeviceAdvancedPayload();
  PutPayloadText(inFile, 20, 20, "FROM FILE");
  inFile[42] = 0;                                         // power save off
  const uint8_t tollStart[] = {7, 9, 0x07, 0xEF, 8, 30};  // 2031-07-09 08:30
  std::copy(std::begin(tollStart), std::end(tollStart), inFile.begin() + 54);
  PutPayloadText(inFile, 66, 5, "9");
  MachineState.AdvancedSetup = DecodeAdvancedSetup(inFile.data());
  ASSERT_EQ(SettingsFileStep(file("FILE.STF").toStdString(), SettingsFileAction::kSave),
            SettingsFileResult::kDone);

  // What every Apply sends of a payload: its three texts without blanks, NUL-padded.
  const auto sent = [](AdvancedPayload payload) {
    AdvancedSetupRecord record = DecodeAdvancedSetup(payload.data());
    PutPayloadText(payload, 0, 20, TrimTrailingBlanks(record.machineNumber), 0);
    PutPayloadText(payload, 20, 20, TrimTrailingBlanks(record.machineId), 0);
    PutPayloadText(payload, 66, 5, TrimTrailingBlanks(record.prefixDial), 0);
    return payload;
  };
  const struct {
    void (CMainPanel::*command)();
    const char* path;
    AdvancedPayload expected;
  } rows[] = {
      {&CMainPanel::OnLoadSettings, "FILE.STF", sent(inFile)},
      {&CMainPanel::OnSaveSettings, "SAVED.STF", sent(DeviceAdvancedPayload())},
  };
  for (const auto& row : rows) {
    DefaultMachineState();
    advancedPageCreated = false;
    sim.model.content().advancedSetup = DeviceAdvancedPayload();
    sim.model.setFault(devsim::Fault::kSilent);
    CMainPanel panel;
    PageSheet->setActivePage(kAdvancedTab);
    EXPECT_FALSE(pageButton(kAdvancedTab, res::settings_ids::kApply)->isEnabled()) << row.path;
    sim.model.setFault(devsim::Fault::kSilent, false);
    choose(file(row.path), row.command, panel);
    ASSERT_TRUE(pageButton(kAdvancedTab, res::settings_ids::kApply)->isEnabled()) << row.path;
    QTest::mouseClick(pageButton(kAdvancedTab, res::settings_ids::kApply), Qt::LeftButton);
    EXPECT_EQ(advancedSent, row.expected) << row.path;
  }
}

// A phonebook file that ends before its last entry is refused with the box: the store, the
// counts and the device's phonebook stay as they were. A whole file is taken, its counts
// rebuilt (a held member cannot be deleted), and Write puts it on the device.
TEST_F(FileMenuTest, OnlyAWholePhonebookFileIsLoadedAndWritten) {
  const auto devicePhonebook = sim.model.content().phonebook;
  CMainPanel panel;
  PageSheet->setActivePage(kPhonebookTab);
  PhonebookEntry& member = PhonebookStore.entries[8];
  SetEntryName(member, "MEMBER");
  SetEntryDialNumber(member, "5550108");
  PhonebookEntry& group = PhonebookStore.entries[30] = PhonebookEntry{};
  group.groupFlag = 1;
  SetEntryName(group, "GROUP");
  ASSERT_TRUE(AddGroupMember(group.dialData, 8));
  choose(file("WHOLE.PBF"), &CMainPanel::OnSavePhonebook, panel);
  QFile whole(file("WHOLE.PBF"));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  ASSERT_EQ(bytes.size(), 7040);
  QFile cut(file("CUT.PBF"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(bytes.left(40 + 70 * 50 + 30));  // half of entry 50
  cut.close();

  QTest::mouseClick(pageButton(kPhonebookTab, phonebook_ids::kRead), Qt::LeftButton);
  const auto store = TableOf(PhonebookStore.entries);
  const auto counts = PhonebookStore.ReferenceCounts;
  choose(file("CUT.PBF"), &CMainPanel::OnLoadPhonebook, panel);
  EXPECT_EQ(boxes.shown, 1);
  EXPECT_EQ(TableOf(PhonebookStore.entries), store);
  EXPECT_EQ(PhonebookStore.ReferenceCounts, counts);
  QTest::mouseClick(pageButton(kPhonebookTab, phonebook_ids::kWrite), Qt::LeftButton);
  EXPECT_EQ(sim.model.content().phonebook, devicePhonebook);

  ASSERT_EQ(PhonebookStore.ReferenceCounts[8], 0);
  choose(file("WHOLE.PBF"), &CMainPanel::OnLoadPhonebook, panel);
  EXPECT_EQ(boxes.shown, 1);
  EXPECT_EQ(PhonebookStore.ReferenceCounts[8], 1);
  PhonebookPage->list()->setCurrentItem(PhonebookPage->list()->topLevelItem(8));
  QTest::mouseClick(pageButton(kPhonebookTab, phonebook_ids::kDelete), Qt::LeftButton);
  EXPECT_EQ(EntryName(PhonebookStore.entries[8]), "MEMBER");
  QTest::mouseClick(pageButton(kPhonebookTab, phonebook_ids::kWrite), Qt::LeftButton);
  EXPECT_EQ(sim.model.content().phonebook[30].groupFlag, 1);
}

// After a failed first read the store is empty: Save Phonebook is grayed so it cannot empty
// a good backup, and is offered once a phonebook came from the device or a file. Load
// Phonebook enables Write as well.
TEST_F(FileMenuTest, SavePhonebookWaitsForAPhonebookFromTheDeviceOrAFile) {
  SetEntryName(PhonebookStore.entries[0], "KEPT");
  ASSERT_EQ(WritePhonebookFile(file("BACKUP.PBF").toStdString()), 1);
  QFile backup(file("BACKUP.PBF"));
  ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
  const QByteArray kept = backup.readAll();
  backup.close();

  const struct {
    const char* how;
    std::function<void(CMainPanel&)> bringPhonebook;
  } rows[] = {
      {"Read",
       [this](CMainPanel&) {
         QTest::mouseClick(pageButton(kPhonebookTab, phonebook_ids::kRead), Qt::LeftButton);
       }},
      {"Load Phonebook",
       [this](CMainPanel& panel) {
         choose(file("BACKUP.PBF"), &CMainPanel::OnLoadPhonebook, panel);
       }},
  };
  for (const auto& row : rows) {
    FreePhonebookStore();
    ASSERT_TRUE(AllocatePhonebookStore());
    sim.model.setFault(devsim::Fault::kSilent);
    CMainPanel panel;
    PageSheet->setActivePage(kPhonebookTab);
    QAction* save = res::FindMenuCommand(panel.menuBar(), res::kCmdSavePhonebook);
    EXPECT_TRUE(res::FindMenuCommand(panel.menuBar(), res::kCmdLoadPhonebook)->isEnabled());
    EXPECT_FALSE(save->isEnabled()) << row.how;
    EXPECT_FALSE(pageButton(kPhonebookTab, phonebook_ids::kWrite)->isEnabled()) << row.how;
    choose(file("BACKUP.PBF"), &CMainPanel::OnSavePhonebook, panel);  // not offered
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), kept) << row.how;
    backup.close();

    sim.model.setFault(devsim::Fault::kSilent, false);
    row.bringPhonebook(panel);
    EXPECT_TRUE(save->isEnabled()) << row.how;
    EXPECT_TRUE(pageButton(kPhonebookTab, phonebook_ids::kWrite)->isEnabled()) << row.how;
    PageSheet->setActivePage(0);
    EXPECT_FALSE(save->isEnabled()) << row.how;
  }
}

}  // namespace
}  // namespace vornik::test
