// The Advanced page inside the main window: which models have it, and what switching tabs
// sends to the device.
#include <gmock/gmock.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <algorithm>
#include <cstring>

#include "app/main_panel.h"
#include "app/page_sheet.h"
#include "link/command_frame.h"
#include "link/inquiry.h"
#include "panel_fixture.h"
#include "res/ids_advanced.h"
#include "settings/advanced_page.h"

namespace vornik::test {
namespace {

constexpr int kAdvancedTab = 1;
namespace ids = res::advanced_ids;

constexpr size_t kEcmModeByte = 72;

class AdvancedTabTest : public PanelTest {
 protected:
  AdvancedTabTest() {
    advancedPageCreated = false;
    skipNextAdvancedRead = false;
    sim.model.setObserver([this](devsim::Traffic traffic, std::span<const uint8_t> frame) {
      if (traffic == devsim::Traffic::kRequest && frame.size() > 8)
        requests.push_back({frame[7], frame[8]});
    });
  }

  // The operation and record bytes of every request the device took.
  struct Request {
    uint8_t operation;
    uint8_t record;
    bool operator==(const Request&) const = default;
  };
  size_t count(uint8_t operation, uint8_t record) const {
    return size_t(std::count(requests.begin(), requests.end(), Request{operation, record}));
  }

  std::vector<Request> requests;
};

TEST_F(AdvancedTabTest, AnotherModelHasNoAdvancedTabAndNeverReadsOrWritesItsRecord) {
  sim.model.setFault(devsim::Fault::kWrongModel);
  ASSERT_NE(Mfp_Inquiry(), 0);
  ASSERT_EQ(MachineState.ModelCode, 3);
  CMainPanel panel;
  ASSERT_EQ(PageSheet->count(), 2);
  for (int tab : {1, 0, 1})
    PageSheet->setActivePage(tab);
  for (int tab = 0; tab < PageSheet->count(); ++tab)
    EXPECT_NE(PageSheet->page(tab), AdvancedPage);
  EXPECT_FALSE(AdvancedPage->initialized());
  EXPECT_FALSE(advancedPageCreated);
  EXPECT_EQ(count(kOpReadRecord, kRecordAdvancedSetup), 0u);
  EXPECT_EQ(count(kOpWriteRecord, kRecordAdvancedSetup), 0u);
}

TEST_F(AdvancedTabTest, PickerAndEcmChangesStayOnThePageWhileTabsAreSwitched) {
  CMainPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  PageSheet->setActivePage(kAdvancedTab);
  ASSERT_EQ(PageSheet->activePage(), AdvancedPage);
  EXPECT_TRUE(advancedPageCreated);
  EXPECT_EQ(count(kOpReadRecord, kRecordAdvancedSetup), 1u);

  const AdvancedSetupRecord before = MachineState.AdvancedSetup;
  auto* startTime = AdvancedPage->controls().find<QTimeEdit>(ids::kTollStartTime);
  startTime->setFocus();
  QTest::keyClick(startTime, Qt::Key_Up);
  QTest::keyClick(AdvancedPage->controls().find<QCheckBox>(ids::kEcmMode), Qt::Key_Space);
  for (int tab : {0, 2, 3, 4, kAdvancedTab})
    PageSheet->setActivePage(tab);
  EXPECT_EQ(count(kOpWriteRecord, kRecordAdvancedSetup), 0u);
  EXPECT_EQ(count(kOpReadRecord, kRecordAdvancedSetup), 1u);  // opened once, read once
  EXPECT_EQ(std::memcmp(&before, &MachineState.AdvancedSetup, sizeof before), 0);
  EXPECT_EQ(sim.model.content().advancedSetup[kEcmModeByte], 1);

  QTest::mouseClick(AdvancedPage->controls().find<QPushButton>(ids::kApply), Qt::LeftButton);
  EXPECT_EQ(count(kOpWriteRecord, kRecordAdvancedSetup), 1u);
  EXPECT_EQ(sim.model.content().advancedSetup[kEcmModeByte], 0);
  EXPECT_EQ(sim.model.content().advancedSetup[54 + 4], 23);  // start hour 22 + 1
}

}  // namespace
}  // namespace vornik::test
