#include <gmock/gmock.h>

#include "settings/settings_page_values.h"

namespace vornik::test {
namespace {

TEST(SettingsPageValues, NumberTextsCountOnlyTheirLeadingDigits) {
  EXPECT_EQ(ParseLeadingDigits("45"), 45);
  EXPECT_EQ(ParseLeadingDigits("7x3"), 7);
  EXPECT_EQ(ParseLeadingDigits(""), 0);
  EXPECT_EQ(ParseLeadingDigits("x1"), 0);
  EXPECT_EQ(ParseLeadingDigits("0300"), 300);
  EXPECT_EQ(ParseLeadingDigits("99999999999999999999"), 1000000);  // no overflow
}

TEST(SettingsPageValues, ArrowsClampOnlyAtTheEndTheyMoveToward) {
  const NumberRange rings = RangeOf(SettingsNumber::RingCount);
  EXPECT_EQ(SpinStepValue(9, SpinDirection::Down, rings), 8);
  EXPECT_EQ(SpinStepValue(9, SpinDirection::Up, rings), 7);
  EXPECT_EQ(SpinStepValue(0, SpinDirection::Down, rings), 1);
  EXPECT_EQ(SpinStepValue(0, SpinDirection::Up, rings), 1);
  EXPECT_EQ(SpinStepValue(9, SpinDirection::None, rings), 9);

  const NumberRange zoom = RangeOf(SettingsNumber::Zoom);
  EXPECT_EQ(SpinStepValue(400, SpinDirection::Up, zoom), 400);
  EXPECT_EQ(SpinStepValue(25, SpinDirection::Down, zoom), 25);
  EXPECT_EQ(SpinStepValue(300, SpinDirection::Up, zoom), 301);
}

TEST(SettingsPageValues, CommitStoresEverythingUncheckedAndNoSelectionAs255) {
  SettingsPageValues values;
  values.traySize = -1;
  values.paperType = 9;
  values.printTimeout = -1;
  values.autoJournal = 1;
  values.number(SettingsNumber::DiscardSize) = "45";  // out of range, kept as typed
  values.number(SettingsNumber::RingCount) = "";
  values.number(SettingsNumber::Zoom) = "300";
  values.number(SettingsNumber::Copies) = "99";
  SystemSetupRecord record = kDefaultSystemSetup;
  record.reserved4 = 0x77;
  CommitPageValues(values, record);
  EXPECT_EQ(record.traySize, 255);
  EXPECT_EQ(record.paperType, 9);
  EXPECT_EQ(record.printTimeout, 255);
  EXPECT_EQ(record.contrast, 1);
  EXPECT_EQ(record.autoJournal, 1);
  EXPECT_EQ(record.rxReduction, 0);
  EXPECT_EQ(record.discardSize, 45);
  EXPECT_EQ(record.ringCount, 0);
  EXPECT_EQ(record.zoom, 300);
  EXPECT_EQ(record.copies, 99);
  EXPECT_EQ(record.reserved4, 0x77);  // not a page value
}

TEST(SettingsPageValues, ClampingCorrectsOutOfRangeNumbersIntoTextAndRecord) {
  SettingsPageValues values;
  values.numbers = {"45", "07", "3", "13", "400", "1"};
  SystemSetupRecord record = kDefaultSystemSetup;
  EXPECT_TRUE(ClampPageNumbers(values, record));
  EXPECT_THAT(values.numbers, testing::ElementsAre("30", "7", "3", "13", "400", "1"));
  EXPECT_EQ(record.discardSize, 30);
  EXPECT_EQ(record.redialInterval, 7);

  // In range, only rewritten as plain decimal: nothing to correct.
  EXPECT_FALSE(ClampPageNumbers(values, record));

  // Empty fields read as 0, which is below every range except the two that start at 0.
  values.numbers = {"", "", "", "", "", ""};
  EXPECT_TRUE(ClampPageNumbers(values, record));
  EXPECT_THAT(values.numbers, testing::ElementsAre("0", "1", "1", "0", "25", "1"));
  EXPECT_EQ(record.zoom, 25);
}

TEST(SettingsPageValues, RecordFillsEveryValue) {
  SystemSetupRecord record = kDefaultSystemSetup;
  record.traySize = 2;
  record.paperType = 8;
  record.printTimeout = 7;  // beyond the list: kept, the list shows no selection
  record.zoom = 1000;       // as the device says, not cut to the field's width
  record.copies = 99;
  const SettingsPageValues values = PageValuesFromRecord(record);
  EXPECT_EQ(values.traySize, 2);
  EXPECT_EQ(values.paperType, 8);
  EXPECT_EQ(values.printTimeout, 7);
  EXPECT_EQ(values.contrast, 1);
  EXPECT_EQ(values.autoJournal, 1);
  EXPECT_THAT(values.numbers, testing::ElementsAre("10", "3", "2", "3", "1000", "99"));
  SystemSetupRecord back = kDefaultSystemSetup;
  CommitPageValues(values, back);
  EXPECT_EQ(back.traySize, 2);
  EXPECT_EQ(back.printTimeout, 7);
  EXPECT_EQ(back.zoom, 1000);
}

}  // namespace
}  // namespace vornik::test
