#include <gmock/gmock.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include <cstring>

#include "devsim/simulated_device.h"
#include "lang/lang_text.h"
#include "link/command_frame.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"
#include "res/ids_settings.h"
#include "settings/settings_page.h"
#include "tests/support/modal_answers.h"
#include "tests/support/page_input.h"

namespace vornik::test {
namespace {

namespace ids = res::settings_ids;

using testing::ElementsAre;
using testing::ElementsAreArray;

constexpr int kLists[] = {ids::kTrayPaperSize, ids::kBypassPaperSize, ids::kPaperType,
                          ids::kSendConfirm,   ids::kPrintTimeOut,    ids::kReceiveMode,
                          ids::kContrast,      ids::kDocumentMode};

// A device setup unlike the defaults, in wire order: reserved bytes A1 A2 A3 A4; tray A4,
// bypass Legal, paper Thin, discard 25, Darken, Photo, zoom 150, copies 5, time-out 180 s,
// TEL, rings 5, interval 12, count 10, confirmation On, no journal, RX reduction.
constexpr std::array<uint8_t, 22> kDeviceSetup = {
    0xA1, 0xA2, 2, 0xA3, 1, 9, 25, 2, 2, 0x00, 150, 0x00, 5, 4, 0, 0xA4, 5, 12, 10, 1, 0, 1};

class SettingsPageTest : public testing::Test {
 protected:
  SettingsPageTest() {
    Connection = ConnectionState{};
    Connection.PortKind = kPortEcp1;
    Connection.osFlavour = OsFlavour::Nt5;
    DefaultMachineState();
    LanguageFilePath = VORNIK_ENGLISH_FILE;
    sim.model.content().systemSetup = kDeviceSetup;
  }
  ~SettingsPageTest() override { LanguageFilePath.clear(); }

  void useSimulator() { fake.devices.add(PortNameTable[kPortEcp1], sim.factory()); }
  void useScripted() { fake.devices.add(PortNameTable[kPortEcp1], scripted.factory()); }

  void openPage() { ShowPage(*page, host); }

  template <class T>
  T* control(int id) {
    return page->controls().find<T>(id);
  }
  int listIndex(int id) { return control<QComboBox>(id)->currentIndex(); }
  QString text(int id) { return control<QLineEdit>(id)->text(); }
  void type(int id, const char* text) {
    QLineEdit* edit = control<QLineEdit>(id);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
  }
  void choose(int id, int index) { ChooseItem(control<QComboBox>(id), index); }
  void click(int id) { ClickButton(control<QAbstractButton>(id)); }
  void clickArrow(int id, QStyle::SubControl arrow) {
    auto* bar = control<QScrollBar>(id);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    const QRect rect = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar);
    QTest::mouseClick(bar, Qt::LeftButton, {}, rect.center());
  }

  platform::FakePlatform fake;
  devsim::SimulatedDevice sim;
  platform::ScriptedDevice scripted;
  BoxCloser boxes;
  QWidget host;
  CSettings* page = new CSettings(&host);
  SystemSetupRecord& record = MachineState.SystemSetup;
};

TEST_F(SettingsPageTest, RefreshShowsTheDevicesValuesInEveryControl) {
  useSimulator();
  sim.model.content().systemSetup[5] = 0;  // the first read finds plain paper
  openPage();
  EXPECT_EQ(listIndex(ids::kPaperType), 0);
  EXPECT_EQ(control<QComboBox>(ids::kPaperType)->count(), 10);
  EXPECT_EQ(control<QComboBox>(ids::kPaperType)->itemText(9), QStringLiteral("Thin"));

  sim.model.content().systemSetup = kDeviceSetup;
  click(ids::kRefresh);
  std::vector<int> lists;
  for (int id : kLists)
    lists.push_back(listIndex(id));
  EXPECT_THAT(lists, ElementsAre(2, 1, 9, 1, 4, 0, 2, 2));
  EXPECT_FALSE(control<QCheckBox>(ids::kAutoJournal)->isChecked());
  EXPECT_TRUE(control<QCheckBox>(ids::kRxReduction)->isChecked());
  EXPECT_THAT((std::vector<QString>{text(ids::kDiscardSize), text(ids::kRingCount),
                                    text(ids::kRedialInterval), text(ids::kRedialCount),
                                    text(ids::kZoom), text(ids::kCopies)}),
              ElementsAre("25", "5", "12", "10", "150", "5"));
  const SystemSetupRecord sent = DecodeSystemSetup(kDeviceSetup.data());
  EXPECT_EQ(std::memcmp(&record, &sent, sizeof sent), 0);
  EXPECT_EQ(boxes.shown, 0);
}

TEST_F(SettingsPageTest, ApplyPutsExactlyTheChangedValuesOnTheDevice) {
  useSimulator();
  openPage();
  // Zoom and Copies reach the record with the next control that commits.
  type(ids::kDiscardSize, "7");
  type(ids::kRingCount, "3");
  type(ids::kRedialInterval, "4");
  type(ids::kRedialCount, "13");
  type(ids::kZoom, "300");
  type(ids::kCopies, "99");
  choose(ids::kTrayPaperSize, 0);
  choose(ids::kBypassPaperSize, 2);
  choose(ids::kPaperType, 3);
  choose(ids::kSendConfirm, 0);
  choose(ids::kPrintTimeOut, 2);
  click(ids::kAutoJournal);
  click(ids::kRxReduction);
  click(ids::kApply);
  EXPECT_THAT(sim.model.content().systemSetup,
              ElementsAreArray({0xA1, 0xA2, 0, 0xA3, 2,    3, 7, 2,  2, 0x01, 0x2C,  //
                                0x00, 0x63, 2, 0,    0xA4, 3, 4, 13, 0, 1,    0}));
  EXPECT_EQ(boxes.shown, 0);
}

TEST_F(SettingsPageTest, LeavingAnOutOfRangeFieldClampsItInFieldAndRecord) {
  useSimulator();
  openPage();
  control<QLineEdit>(ids::kDiscardSize)->setFocus();
  type(ids::kDiscardSize, "45");
  EXPECT_EQ(record.discardSize, 45);  // committed as typed
  control<QLineEdit>(ids::kRingCount)->setFocus();
  EXPECT_EQ(text(ids::kDiscardSize), QStringLiteral("30"));
  EXPECT_EQ(record.discardSize, 30);
  type(ids::kDiscardSize, "456");  // two characters at most
  EXPECT_EQ(text(ids::kDiscardSize), QStringLiteral("45"));
}

TEST_F(SettingsPageTest, ArrowsClampOnlyAtTheEndTheyMoveToward) {
  useSimulator();
  openPage();
  type(ids::kRingCount, "9");
  clickArrow(ids::kRingCountArrows, QStyle::SC_ScrollBarAddLine);  // down
  EXPECT_EQ(text(ids::kRingCount), QStringLiteral("8"));
  EXPECT_EQ(record.ringCount, 8);
  type(ids::kRingCount, "9");
  clickArrow(ids::kRingCountArrows, QStyle::SC_ScrollBarSubLine);  // up
  EXPECT_EQ(text(ids::kRingCount), QStringLiteral("7"));
  EXPECT_EQ(record.ringCount, 7);

  type(ids::kZoom, "400");
  clickArrow(ids::kZoomArrows, QStyle::SC_ScrollBarSubLine);
  EXPECT_EQ(text(ids::kZoom), QStringLiteral("400"));
  type(ids::kZoom, "25");
  clickArrow(ids::kZoomArrows, QStyle::SC_ScrollBarAddLine);
  EXPECT_EQ(text(ids::kZoom), QStringLiteral("25"));
  EXPECT_EQ(record.zoom, 25);
  clickArrow(ids::kZoomArrows, QStyle::SC_ScrollBarSubLine);  // the arrows stay live
  EXPECT_EQ(text(ids::kZoom), QStringLiteral("26"));
}

// One wheel notch over a field's arrows is one click on the arrow it turns toward; it
// never rewrites the field any other way.
TEST_F(SettingsPageTest, WheelOverTheArrowsStepsAsTheArrowsDo) {
  useSimulator();
  openPage();
  auto* arrows = control<QScrollBar>(ids::kRingCountArrows);
  auto wheel = [&](int delta) {
    QWheelEvent event(QPointF(2, 2), arrows->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(arrows, &event);
  };
  struct Step {
    int delta;
    QStyle::SubControl arrow;
  };
  for (const Step& step :
       {Step{120, QStyle::SC_ScrollBarSubLine}, Step{-120, QStyle::SC_ScrollBarAddLine}}) {
    type(ids::kRingCount, "5");
    clickArrow(ids::kRingCountArrows, step.arrow);
    const QString byArrow = text(ids::kRingCount);
    type(ids::kRingCount, "5");
    wheel(step.delta);
    EXPECT_EQ(text(ids::kRingCount), byArrow) << step.delta;
    EXPECT_EQ(QString::number(record.ringCount), byArrow);
  }
  type(ids::kRingCount, "");
  QTest::keyClick(control<QLineEdit>(ids::kRingCount), Qt::Key_Delete);
  wheel(0);  // a sideways scroll
  EXPECT_EQ(text(ids::kRingCount), QString());
  EXPECT_EQ(arrows->sliderPosition(), 0);
}

TEST_F(SettingsPageTest, DeviceValueBeyondAListShowsNoSelectionAndCommitsAs255) {
  sim.model.content().systemSetup[13] = 7;     // print time-out
  sim.model.content().systemSetup[9] = 0x03;   // zoom 1000: shown whole, beyond the
  sim.model.content().systemSetup[10] = 0xE8;  // three characters a user may type
  useSimulator();
  openPage();
  EXPECT_EQ(listIndex(ids::kPrintTimeOut), -1);
  EXPECT_EQ(text(ids::kZoom), QStringLiteral("1000"));
  EXPECT_EQ(record.printTimeout, 7);
  click(ids::kAutoJournal);
  EXPECT_EQ(record.printTimeout, 255);
  EXPECT_EQ(record.reserved4, 0xA4);
}

TEST_F(SettingsPageTest, FailedFirstReadLeavesTheInitialControlsAndShowsTheBoxOnce) {
  sim.model.setFault(devsim::Fault::kSilent);
  useSimulator();
  openPage();
  EXPECT_EQ(boxes.shown, 1);
  for (int id : kLists)
    EXPECT_EQ(listIndex(id), -1) << id;
  EXPECT_FALSE(control<QCheckBox>(ids::kAutoJournal)->isChecked());
  EXPECT_FALSE(control<QCheckBox>(ids::kRxReduction)->isChecked());
  EXPECT_THAT((std::vector<QString>{text(ids::kDiscardSize), text(ids::kRingCount),
                                    text(ids::kRedialInterval), text(ids::kRedialCount),
                                    text(ids::kZoom), text(ids::kCopies)}),
              ElementsAre("", "", "", "", "100", "1"));
  EXPECT_EQ(record.traySize, kDefaultSystemSetup.traySize);

  click(ids::kRxReduction);  // any change commits what the page shows
  EXPECT_EQ(record.traySize, 255);
  EXPECT_EQ(record.contrast, 255);
  EXPECT_EQ(record.ringCount, 0);
  EXPECT_EQ(record.zoom, 100);
  EXPECT_EQ(record.rxReduction, 1);
}

// A first read that fails, whichever way, leaves nothing for Apply to send: the device
// keeps its own setup. The next good Refresh makes Apply usable.
TEST_F(SettingsPageTest, ApplyStaysDisabledUntilARecordCameFromTheDevice) {
  for (const devsim::Fault fault :
       {devsim::Fault::kZeroLength, devsim::Fault::kShortAnswer, devsim::Fault::kSilent}) {
    SCOPED_TRACE(int(fault));
    DefaultMachineState();
    devsim::SimulatedDevice device;
    device.model.content().systemSetup = kDeviceSetup;
    std::vector<uint8_t> operations;  // the operation byte of every request the device took
    device.model.setObserver([&](devsim::Traffic traffic, std::span<const uint8_t> frame) {
      if (traffic == devsim::Traffic::kRequest && frame.size() > 7)
        operations.push_back(frame[7]);
    });
    device.model.setFault(fault);
    fake.devices.add(PortNameTable[kPortEcp1], device.factory());
    CSettings* fresh = new CSettings(&host);
    fresh->ensureInitialized();
    auto* apply = fresh->controls().find<QPushButton>(ids::kApply);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_FALSE(fresh->recordLoaded());
    QTest::mouseClick(apply, Qt::LeftButton);
    QTest::keyClick(apply, Qt::Key_Space);
    EXPECT_THAT(operations, testing::Each(kOpReadRecord));  // reads only, never a write
    EXPECT_EQ(device.model.content().systemSetup, kDeviceSetup);

    device.model.setFault(fault, false);
    QTest::mouseClick(fresh->controls().find<QPushButton>(ids::kRefresh), Qt::LeftButton);
    EXPECT_TRUE(apply->isEnabled());
    delete fresh;
  }
}

TEST_F(SettingsPageTest, CommandsRunUnderTheWaitCursorAndFailedApplyShowsTheBox) {
  std::vector<bool> waitCursorAtOpen;
  fake.devices.add(PortNameTable[kPortEcp1], [&](unsigned access, unsigned share) {
    const QCursor* cursor = QApplication::overrideCursor();
    waitCursorAtOpen.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
    return sim.factory()(access, share);
  });
  openPage();
  EXPECT_THAT(waitCursorAtOpen, ElementsAre(true, true));  // the get: write, then read
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  sim.model.setFault(devsim::Fault::kBusy);
  const SystemSetupRecord before = record;
  click(ids::kApply);
  EXPECT_EQ(boxes.shown, 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(std::memcmp(&before, &record, sizeof before), 0);
}

// A loaded record shows in every control, so a change in any of them commits the loaded
// values and not what the page showed before.
TEST_F(SettingsPageTest, ShowRecordShowsEveryFieldWithoutTheDevice) {
  useSimulator();
  openPage();
  const size_t opens = fake.devices.opens.size();
  record.traySize = 0;
  record.zoom = 222;
  record.ringCount = 6;
  record.sendConfirm = 2;
  record.autoJournal = 1;
  page->showRecord();
  EXPECT_EQ(listIndex(ids::kTrayPaperSize), 0);
  EXPECT_EQ(text(ids::kZoom), QStringLiteral("222"));
  EXPECT_EQ(text(ids::kRingCount), QStringLiteral("6"));
  EXPECT_EQ(listIndex(ids::kSendConfirm), 2);
  EXPECT_TRUE(control<QCheckBox>(ids::kAutoJournal)->isChecked());
  click(ids::kAutoJournal);  // a change commits every control into the record
  EXPECT_EQ(record.autoJournal, 0);
  EXPECT_EQ(record.traySize, 0);
  EXPECT_EQ(record.zoom, 222);
  EXPECT_EQ(fake.devices.opens.size(), opens);
}

}  // namespace
}  // namespace vornik::test
