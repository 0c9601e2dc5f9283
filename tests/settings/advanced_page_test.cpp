#include <gmock/gmock.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <cstring>
#include <functional>

#include "advanced_payload.h"
#include "devsim/simulated_device.h"
#include "lang/lang_text.h"
#include "link/command_frame.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"
#include "res/ids_advanced.h"
#include "settings/advanced_page.h"
#include "tests/support/modal_answers.h"
#include "tests/support/page_input.h"
#include "ui/beep.h"
#include "ui/filter_edit.h"

namespace vornik::test {
namespace {

namespace ids = res::advanced_ids;

using testing::ElementsAre;
using testing::ElementsAreArray;

constexpr int kPickers[] = {ids::kTollStartDate, ids::kTollStartTime, ids::kTollEndDate,
                            ids::kTollEndTime};

// Payload offsets the tests change on the device.
constexpr size_t kLanguageByte = 41;
constexpr size_t kPowerSaveByte = 42;
constexpr size_t kTollSaverByte = 53;
constexpr size_t kTollStartBytes = 54;
constexpr size_t kTollEndBytes = 60;

class AdvancedPageTest : public testing::Test {
 protected:
  AdvancedPageTest() {
    Connection = ConnectionState{};
    Connection.PortKind = kPortEcp1;
    Connection.osFlavour = OsFlavour::Nt5;
    DefaultMachineState();
    advancedPageCreated = false;
    skipNextAdvancedRead = false;
    LanguageFilePath = VORNIK_ENGLISH_FILE;
    device() = DeviceAdvancedPayload();
    sim.model.setObserver([this](devsim::Traffic traffic, std::span<const uint8_t> frame) {
      if (traffic == devsim::Traffic::kRequest)
        requests.emplace_back(frame.begin(), frame.end());
    });
    fake.devices.add(PortNameTable[kPortEcp1], sim.factory());
  }
  ~AdvancedPageTest() override { LanguageFilePath.clear(); }

  AdvancedPayload& device() { return sim.model.content().advancedSetup; }

  void openPage() { ShowPage(*page, host); }

  template <class T>
  T* control(int id) {
    return page->controls().find<T>(id);
  }
  int listIndex(int id) { return control<QComboBox>(id)->currentIndex(); }
  QString listText(int id) { return control<QComboBox>(id)->currentText(); }
  QString text(int id) { return control<FilterEdit>(id)->text(); }
  bool checked(int id) { return control<QAbstractButton>(id)->isChecked(); }
  bool enabled(int id) { return control<QWidget>(id)->isEnabled(); }
  QDateTime picked(int dateId, int timeId) {
    return QDateTime(control<QDateEdit>(dateId)->date(), control<QTimeEdit>(timeId)->time());
  }
  // Replaces a field's text by typing, as a user would.
  void type(int id, const char* typed) {
    auto* edit = control<FilterEdit>(id);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
  }
  void choose(int id, int index) { ChooseItem(control<QComboBox>(id), index); }
  void click(int id) { ClickButton(control<QAbstractButton>(id)); }

  // The advanced-setup frames the device took with operation `operation`.
  std::vector<std::vector<uint8_t>> frames(uint8_t operation) {
    std::vector<std::vector<uint8_t>> found;
    for (const auto& frame : requests)
      if (frame.size() > 8 && frame[7] == operation && frame[8] == kRecordAdvancedSetup)
        found.push_back(frame);
    return found;
  }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  std::vector<std::vector<uint8_t>> requests;
  BoxCloser boxes;
  BeepRecorder beeps;
  QWidget host;
  CAdvanced* page = new CAdvanced(&host);
  AdvancedSetupRecord& record = MachineState.AdvancedSetup;
};

TEST_F(AdvancedPageTest, EveryFieldGoesFromTheDeviceToThePageAndBackThroughApply) {
  openPage();
  EXPECT_TRUE(advancedPageCreated);
  EXPECT_EQ(text(ids::kMachineNumber), "+44 20 7946 0958");  // shown without the device's blanks
  EXPECT_EQ(text(ids::kMachineId), "ACME LTD");
  EXPECT_EQ(text(ids::kPrefixDial), "81");
  EXPECT_THAT((std::vector<QString>{listText(ids::kSpeaker), listText(ids::kRinger),
                                    listText(ids::kUsbMode), listText(ids::kLanguage),
                                    listText(ids::kClockMode), listText(ids::kPowerSaveMinutes)}),
              ElementsAre("COM", "HIGH", "FAST", "Italian", "24 hour", "10"));
  EXPECT_TRUE(checked(ids::kPowerSaveOn));
  EXPECT_TRUE(checked(ids::kTollSaverOn));
  EXPECT_THAT((std::vector<bool>{checked(ids::kAlarmSound), checked(ids::kKeySound),
                                 checked(ids::kStampReceiverName), checked(ids::kEcmMode)}),
              ElementsAre(false, false, true, true));
  EXPECT_EQ(picked(ids::kTollStartDate, ids::kTollStartTime),
            QDateTime(QDate(2024, 3, 15), QTime(22, 5)));
  EXPECT_EQ(picked(ids::kTollEndDate, ids::kTollEndTime),
            QDateTime(QDate(2025, 4, 1), QTime(6, 45)));
  EXPECT_EQ(control<QTimeEdit>(ids::kTollStartTime)->text(), "10:05 PM");  // 12-hour with AM/PM
  EXPECT_EQ(control<QTimeEdit>(ids::kTollEndTime)->text(), "06:45 AM");
  // The record now holds the texts followed by NULs.
  EXPECT_EQ(std::string(record.machineId, sizeof record.machineId),
            std::string("ACME LTD") + std::string(13, '\0'));
  EXPECT_TRUE(control<QPushButton>(ids::kApply)->isEnabled());

  click(ids::kApply);
  const auto sets = frames(kOpWriteRecord);
  ASSERT_EQ(sets.size(), 1u);
  ASSERT_EQ(sets[0].size(), 82u);
  EXPECT_THAT(std::vector<uint8_t>(sets[0].begin(), sets[0].begin() + 9),
              ElementsAre(0x1B, 0xA4, 0x00, 0x4E, 0x50, 0xE0, 0x82, 0xC2, 0x40));
  std::vector<uint8_t> sentNumber(sets[0].begin() + 9, sets[0].begin() + 29);
  std::vector<uint8_t> number(20, 0);
  std::memcpy(number.data(), "+44 20 7946 0958", 16);
  EXPECT_EQ(sentNumber, number);  // NUL-padded on the way back
  EXPECT_EQ(sets[0][79], 0x00);   // the prefix's last byte
  // The device pads the texts with blanks again: it holds what it sent.
  EXPECT_EQ(device(), DeviceAdvancedPayload());
  EXPECT_EQ(boxes.shown, 0);
}

TEST_F(AdvancedPageTest, EveryChangedControlReachesTheDeviceThroughApply) {
  openPage();
  type(ids::kMachineNumber, "+1 555 0111");
  type(ids::kMachineId, "north wing");
  type(ids::kPrefixDial, "0");
  choose(ids::kSpeaker, 0);
  choose(ids::kRinger, 1);
  choose(ids::kUsbMode, 0);
  choose(ids::kLanguage, 2);
  choose(ids::kClockMode, 0);
  click(ids::kKeySound);
  click(ids::kAlarmSound);
  click(ids::kStampReceiverName);
  click(ids::kEcmMode);
  click(ids::kPowerSaveOn);
  choose(ids::kPowerSaveMinutes, 4);
  control<QDateEdit>(ids::kTollStartDate)->setDate(QDate(2030, 12, 24));
  control<QTimeEdit>(ids::kTollStartTime)->setTime(QTime(18, 30));
  control<QDateEdit>(ids::kTollEndDate)->setDate(QDate(1990, 1, 1));
  control<QTimeEdit>(ids::kTollEndTime)->setTime(QTime(0, 0));
  click(ids::kTollSaverOff);
  click(ids::kApply);

  AdvancedPayload expected{};
  PutPayloadText(expected, 0, 20, "+1 555 0111");
  PutPayloadText(expected, 20, 20, "NORTH WING");
  const uint8_t middle[] = {0,  2,  5,    0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0,    0,    1, 1, 1, 0,  //
                            12, 24, 0x07, 0xEE, 18,   30,   1,    1,    0x07, 0xC6, 0, 0};
  std::copy(std::begin(middle), std::end(middle), expected.begin() + 40);
  PutPayloadText(expected, 66, 5, "0");
  expected[71] = 0;
  expected[72] = 0;
  EXPECT_EQ(device(), expected);
}

TEST_F(AdvancedPageTest, LanguageCodes11And12SelectTheFourthAndEighthItemsAndGoBack) {
  const std::pair<uint8_t, QString> shown[] = {
      {11, "Portuguese"}, {12, "Swedish"}, {3, "Portuguese"}, {6, "Dutch"}};
  openPage();
  for (const auto& [code, item] : shown) {
    device()[kLanguageByte] = code;
    click(ids::kRefresh);
    EXPECT_EQ(listText(ids::kLanguage), item) << int(code);
  }
  device()[kLanguageByte] = 200;  // no such item: nothing selected
  click(ids::kRefresh);
  EXPECT_EQ(listIndex(ids::kLanguage), -1);

  const std::pair<int, uint8_t> stored[] = {{3, 11}, {7, 12}, {2, 2}};
  for (const auto& [item, code] : stored) {
    choose(ids::kLanguage, item);
    EXPECT_EQ(record.language, code) << item;
    click(ids::kApply);
    EXPECT_EQ(device()[kLanguageByte], code) << item;
  }
}

TEST_F(AdvancedPageTest, PowerSaveOffKeepsTheMinutesAndOnWithoutAnItemStoresZero) {
  openPage();  // power save after 10 minutes
  device()[kPowerSaveByte] = 0;
  click(ids::kRefresh);
  EXPECT_TRUE(checked(ids::kPowerSaveOff));
  EXPECT_EQ(listText(ids::kPowerSaveMinutes), "10");
  EXPECT_FALSE(enabled(ids::kPowerSaveMinutes));

  device()[kPowerSaveByte] = 4;
  click(ids::kRefresh);
  EXPECT_TRUE(checked(ids::kPowerSaveOn));
  EXPECT_EQ(listText(ids::kPowerSaveMinutes), "30");
  EXPECT_TRUE(enabled(ids::kPowerSaveMinutes));
  click(ids::kPowerSaveOff);
  EXPECT_FALSE(enabled(ids::kPowerSaveMinutes));
  EXPECT_EQ(record.powerSave, 4);  // the radio buttons commit nothing by themselves
  click(ids::kKeySound);
  EXPECT_EQ(record.powerSave, 0);

  device()[kPowerSaveByte] = 9;  // beyond the list: On without a minutes item
  click(ids::kRefresh);
  EXPECT_TRUE(checked(ids::kPowerSaveOn));
  EXPECT_EQ(listIndex(ids::kPowerSaveMinutes), -1);
  click(ids::kApply);
  EXPECT_EQ(device()[kPowerSaveByte], 0);
}

TEST_F(AdvancedPageTest, OutOfRangeTollYearsAndDaysShowClampedInBothPickers) {
  struct Case {
    std::array<uint8_t, 6> wire;
    QDateTime shown;
  };
  const Case cases[] = {
      {{10, 40, 0x07, 0xC1, 9, 15}, QDateTime(QDate(1990, 10, 31), QTime(9, 15))},  // 1985
      {{10, 40, 0x08, 0x34, 9, 15}, QDateTime(QDate(2089, 10, 31), QTime(9, 15))},  // 2100
      {{2, 31, 0x07, 0xE8, 25, 70}, QDateTime(QDate(2024, 2, 29), QTime(23, 59))},
  };
  for (const Case& c : cases) {
    std::copy(c.wire.begin(), c.wire.end(), device().begin() + kTollStartBytes);
    std::copy(c.wire.begin(), c.wire.end(), device().begin() + kTollEndBytes);
    if (!page->initialized())
      openPage();
    else
      click(ids::kRefresh);
    EXPECT_EQ(picked(ids::kTollStartDate, ids::kTollStartTime), c.shown);
    EXPECT_EQ(picked(ids::kTollEndDate, ids::kTollEndTime), c.shown);
  }
}

TEST_F(AdvancedPageTest, TollSaverOffDisablesTheFourPickers) {
  device()[kTollSaverByte] = 0;
  openPage();
  EXPECT_TRUE(checked(ids::kTollSaverOff));
  for (int id : kPickers)
    EXPECT_FALSE(enabled(id)) << id;
  click(ids::kTollSaverOn);
  for (int id : kPickers)
    EXPECT_TRUE(enabled(id)) << id;
  click(ids::kTollSaverOff);
  for (int id : kPickers)
    EXPECT_FALSE(enabled(id)) << id;
  EXPECT_TRUE(frames(kOpWriteRecord).empty());
}

TEST_F(AdvancedPageTest, PickerAndEcmChangesReachRecordAndDeviceOnlyThroughApply) {
  openPage();
  const AdvancedSetupRecord before = record;
  auto* startTime = control<QTimeEdit>(ids::kTollStartTime);
  startTime->setFocus();
  QTest::keyClick(startTime, Qt::Key_Up);  // one hour later
  control<QDateEdit>(ids::kTollEndDate)->setDate(QDate(2026, 7, 4));
  click(ids::kEcmMode);
  EXPECT_EQ(std::memcmp(&before, &record, sizeof before), 0);
  EXPECT_TRUE(frames(kOpWriteRecord).empty());

  click(ids::kApply);
  EXPECT_EQ(record.tollStart.hour, 23);
  EXPECT_EQ(record.ecmMode, 0);
  EXPECT_EQ(device()[kTollStartBytes + 4], 23);
  EXPECT_THAT(
      std::vector<uint8_t>(device().begin() + kTollEndBytes, device().begin() + kTollEndBytes + 4),
      ElementsAre(7, 4, 0x07, 0xEA));
  EXPECT_EQ(device()[72], 0);
}

// A read that fails, whichever way, leaves the record as it was; the page still shows it,
// and Apply cannot send it until a read succeeds.
TEST_F(AdvancedPageTest, FailedReadShowsTheBoxAndTheUnchangedRecordWithApplyDisabled) {
  for (const devsim::Fault fault :
       {devsim::Fault::kShortAnswer, devsim::Fault::kZeroLength, devsim::Fault::kSilent}) {
    SCOPED_TRACE(int(fault));
    DefaultMachineState();
    std::strcpy(record.machineId, "KEPT ID");
    const AdvancedSetupRecord before = record;
    boxes.shown = 0;
    sim.model.setFault(fault);
    auto* fresh = new CAdvanced(&host);
    fresh->ensureInitialized();
    EXPECT_EQ(boxes.shown, 1);
    EXPECT_EQ(std::memcmp(&before, &record, sizeof before), 0);
    EXPECT_EQ(fresh->controls().find<FilterEdit>(ids::kMachineId)->text(), "KEPT ID");
    EXPECT_EQ(fresh->controls().find<QComboBox>(ids::kSpeaker)->currentText(), "ON");
    auto* apply = fresh->controls().find<QPushButton>(ids::kApply);
    EXPECT_FALSE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_TRUE(frames(kOpWriteRecord).empty());
    EXPECT_EQ(device(), DeviceAdvancedPayload());

    sim.model.setFault(fault, false);
    QTest::mouseClick(fresh->controls().find<QPushButton>(ids::kRefresh), Qt::LeftButton);
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_EQ(fresh->controls().find<FilterEdit>(ids::kMachineId)->text(), "ACME LTD");
    delete fresh;
  }
}

TEST_F(AdvancedPageTest, ApplyThatCannotBeSentShowsTheBoxAndKeepsTheChangeInTheRecord) {
  openPage();
  type(ids::kPrefixDial, "0");
  sim.model.setFault(devsim::Fault::kShortWrite);
  click(ids::kApply);
  EXPECT_EQ(boxes.shown, 1);
  EXPECT_STREQ(record.prefixDial, "0");
  EXPECT_EQ(device(), DeviceAdvancedPayload());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(AdvancedPageTest, LoadedRecordIsShownWithoutReadingTheDevice) {
  std::strcpy(record.machineId, "LOADED   ");
  record.ringer = 0;
  record.powerSave = 5;
  skipNextAdvancedRead = true;
  openPage();
  EXPECT_FALSE(skipNextAdvancedRead);
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(text(ids::kMachineId), "LOADED");
  EXPECT_EQ(listText(ids::kRinger), "OFF");
  EXPECT_EQ(listText(ids::kPowerSaveMinutes), "45");
  EXPECT_TRUE(control<QPushButton>(ids::kApply)->isEnabled());

  click(ids::kRefresh);  // the next fill reads the device
  EXPECT_EQ(frames(kOpReadRecord).size(), 1u);
  EXPECT_EQ(text(ids::kMachineId), "ACME LTD");

  // A later load shows the record in every control, radios, minutes and pickers included,
  // with their enabling rules, and Apply sends it as shown.
  std::strcpy(record.prefixDial, "77 ");
  record.speaker = 0;
  record.ecmMode = 0;
  record.powerSave = 0;
  record.tollSaver = 0;
  record.tollStart.year = 2040;
  page->showRecord();
  EXPECT_EQ(text(ids::kPrefixDial), "77");
  EXPECT_STREQ(record.prefixDial, "77");
  EXPECT_EQ(listText(ids::kSpeaker), "OFF");
  EXPECT_FALSE(checked(ids::kEcmMode));
  EXPECT_TRUE(checked(ids::kPowerSaveOff));
  EXPECT_FALSE(enabled(ids::kPowerSaveMinutes));
  EXPECT_TRUE(checked(ids::kTollSaverOff));
  EXPECT_FALSE(enabled(ids::kTollStartDate));
  EXPECT_EQ(control<QDateEdit>(ids::kTollStartDate)->date().year(), 2040);
  std::vector<uint8_t> loaded(kAdvancedPayloadSize);
  EncodeAdvancedSetup(record, loaded.data());
  click(ids::kApply);
  const auto sent = frames(kOpWriteRecord).back();
  EXPECT_EQ(std::vector<uint8_t>(sent.begin() + 9, sent.end()), loaded);
  EXPECT_EQ(frames(kOpReadRecord).size(), 1u);
}

TEST_F(AdvancedPageTest, TextFieldsTakeOnlyTheirCharactersUpToTheirWidths) {
  openPage();
  type(ids::kMachineNumber, "+49 30x 1234567890123456");
  EXPECT_EQ(text(ids::kMachineNumber), "+49 30 1234567890123");
  type(ids::kMachineId, "acme/north #2");
  EXPECT_EQ(text(ids::kMachineId), "ACME/NORTH #2");
  type(ids::kPrefixDial, "9a 12345");
  EXPECT_EQ(text(ids::kPrefixDial), "9 123");
  EXPECT_EQ(beeps.count, 2);
  QTest::keyClick(control<FilterEdit>(ids::kPrefixDial), Qt::Key_Return);  // Enter commits
  EXPECT_STREQ(record.machineNumber, "+49 30 1234567890123");
  EXPECT_STREQ(record.machineId, "ACME/NORTH #2");
  EXPECT_STREQ(record.prefixDial, "9 123");
  EXPECT_TRUE(frames(kOpWriteRecord).empty());
}

// Blanks after the prefix reach the device as typed through Apply; a commit of the page
// (Enter in a field, or a change in a list or check box) trims them from the record.
TEST_F(AdvancedPageTest, PrefixBlanksAreTrimmedByACommitButNotByApply) {
  openPage();
  type(ids::kPrefixDial, "12  ");
  click(ids::kApply);
  const auto sent = frames(kOpWriteRecord).back();
  EXPECT_THAT(std::vector<uint8_t>(sent.begin() + 75, sent.begin() + 80),
              ElementsAre('1', '2', ' ', ' ', 0));
  EXPECT_EQ(text(ids::kPrefixDial), "12  ");
  const std::function<void()> commits[] = {
      [&] { QTest::keyClick(control<FilterEdit>(ids::kPrefixDial), Qt::Key_Return); },
      [&] { click(ids::kKeySound); },
  };
  for (const auto& commit : commits) {
    type(ids::kPrefixDial, "12  ");
    commit();
    EXPECT_STREQ(record.prefixDial, "12");
  }
}

// The pickers keep to the years the device holds: a date before 1990 or after 2089 goes
// out as the nearest one it takes.
TEST_F(AdvancedPageTest, PickedDatesReachTheFrameWithinTheDevicesYears) {
  openPage();
  control<QDateEdit>(ids::kTollStartDate)->setDate(QDate(1985, 6, 1));
  control<QDateEdit>(ids::kTollEndDate)->setDate(QDate(2100, 6, 1));
  click(ids::kApply);
  const auto sent = frames(kOpWriteRecord).back();
  const auto date = [&](size_t payloadOffset) {  // month, day, year high byte first
    return std::vector<uint8_t>(sent.begin() + 9 + long(payloadOffset),
                                sent.begin() + 13 + long(payloadOffset));
  };
  EXPECT_THAT(date(kTollStartBytes), ElementsAre(1, 1, 0x07, 0xC6));
  EXPECT_THAT(date(kTollEndBytes), ElementsAre(12, 31, 0x08, 0x29));
}

}  // namespace
}  // namespace vornik::test
