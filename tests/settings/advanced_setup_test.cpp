#include <gmock/gmock.h>

#include <cstring>

#include "advanced_payload.h"
#include "link/machine_state.h"
#include "link/port_io.h"
#include "link_fixture.h"
#include "settings/advanced_page_values.h"
#include "settings/advanced_setup.h"

namespace vornik::test {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

const std::vector<uint8_t> kGetRequest =
    Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x40});

// An 83-byte get answer with length 79 around `payload`.
std::vector<uint8_t> GetAnswer(const AdvancedPayload& payload) {
  auto answer = Bytes({0x1B, 0xA4, 0x00, 0x4F, 0x50, 0xE0, 0x82, 0xC1, 0x40, 0x00});
  answer.insert(answer.end(), payload.begin(), payload.end());
  return answer;
}

bool SameRecord(const AdvancedSetupRecord& a, const AdvancedSetupRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

class AdvancedSetupTest : public LinkTest {
 protected:
  AdvancedSetupTest() { usePort(kPortEcp1); }

  AdvancedSetupRecord& setup() { return MachineState.AdvancedSetup; }
};

TEST_F(AdvancedSetupTest, DefaultsGoOutInAnExact82ByteFrameWithTextsNulPadded) {
  std::memset(&MachineState, 0xAA, sizeof MachineState);
  DefaultMachineState();
  std::strcpy(setup().machineNumber, "123");
  device.answers.push_back(WriteAcknowledgement(0x40));
  const uint32_t start = fake.clock.now;
  EXPECT_NE(Mfp_SetSystemInfo(), 0);
  EXPECT_GE(fake.clock.now - start, 1000u);
  ASSERT_EQ(device.writes.size(), 1u);
  auto expected = Bytes({0x1B, 0xA4, 0x00, 0x4E, 0x50, 0xE0, 0x82, 0xC2, 0x40, '1', '2', '3'});
  expected.resize(9 + 40, 0x00);                   // the rest of the number, the empty machine ID
  const auto rest = Bytes({0,  0,  3,              // 12 hour, English, 15 minutes
                           0,  0,  0,    0,    0,  // carried bytes
                           0,  1,  1,    1,    1,  1,   // SLOW, ON, LOW, sounds, toll saver
                           10, 10, 0x07, 0xD2, 10, 10,  // 2002-10-10 10:10
                           10, 10, 0x07, 0xD2, 10, 10,  //
                           0,  0,  0,    0,    0,       // empty prefix
                           0,  0});                     // no stamp, no ECM
  expected.insert(expected.end(), rest.begin(), rest.end());
  ASSERT_EQ(expected.size(), 82u);
  EXPECT_THAT(device.writes[0], ElementsAreArray(expected));
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 10u));
  // No title and no dump for the set.
  EXPECT_THAT(traces(), ElementsAre("WriteData = 82 \n\r", "ReadData = 10 \n\r"));
}

TEST_F(AdvancedSetupTest, WholeAnswerDecodesEveryFieldAndGoesBackByteForByte) {
  const AdvancedPayload payload = DeviceAdvancedPayload();
  device.answers.push_back(GetAnswer(payload));
  const uint32_t start = fake.clock.now;
  EXPECT_NE(Mfp_GetSystemInfo(), 0);
  EXPECT_GE(fake.clock.now - start, 1000u);
  EXPECT_THAT(device.writes, ElementsAre(kGetRequest));
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 83u));

  const AdvancedSetupRecord& r = setup();
  EXPECT_STREQ(r.machineNumber, "+44 20 7946 0958    ");  // as the device padded it
  EXPECT_STREQ(r.machineId, "ACME LTD            ");
  EXPECT_STREQ(r.prefixDial, "81   ");
  EXPECT_THAT(
      (std::vector<int>{r.clockMode, r.language, r.powerSave, r.usbMode, r.speaker, r.ringer,
                        r.keySound, r.alarmSound, r.tollSaver, r.stampRcvName, r.ecmMode}),
      ElementsAre(1, 5, 2, 1, 2, 3, 0, 0, 1, 1, 1));
  EXPECT_THAT(r.passThrough, ElementsAre(0xA1, 0xA2, 0xA3, 0xA4, 0xA5));
  EXPECT_THAT((std::vector<int>{r.tollStart.month, r.tollStart.day, r.tollStart.year,
                                r.tollStart.hour, r.tollStart.minute, r.tollEnd.month,
                                r.tollEnd.day, r.tollEnd.year, r.tollEnd.hour, r.tollEnd.minute}),
              ElementsAre(3, 15, 2024, 22, 5, 4, 1, 2025, 6, 45));

  const auto& t = traces();
  ASSERT_EQ(t.size(), 16u);  // title, write, size, read, 11 dump lines, length
  EXPECT_THAT(std::vector<std::string>(t.begin(), t.begin() + 4),
              ElementsAre("===> (Get Settings 2) SYSTEM STATUS <===\n\r", "WriteData = 9 \n\r",
                          "Size to read = 83 \n\r", "ReadData = 83 \n\r"));
  EXPECT_EQ(t[4], "0000: 1B A4 00 4F 50 E0 82 C1 ...OP...\r\n");
  EXPECT_EQ(t[14], "0x50: 20 01 01 00 00 00 00 00  ..\r\n");  // all 83 bytes dumped
  EXPECT_EQ(t[15], "Length = 79 \n\r");

  device.answers.push_back(WriteAcknowledgement(0x40));
  ASSERT_NE(Mfp_SetSystemInfo(), 0);
  ASSERT_EQ(device.writes.size(), 2u);
  EXPECT_THAT(std::vector<uint8_t>(device.writes[1].begin() + 9, device.writes[1].end()),
              ElementsAreArray(payload));
}

TEST_F(AdvancedSetupTest, OutOfRangeTollTimesAreClampedOnlyFromAbove) {
  struct Case {
    std::vector<uint8_t> wire;  // month, day, year high, year low, hour, minute
    std::vector<int> decoded;   // month, day, year, hour, minute
  };
  const Case cases[] = {
      {{10, 40, 0x07, 0xC1, 10, 10}, {10, 31, 1990, 10, 10}},  // day 40, year 1985
      {{13, 40, 0x08, 0x34, 24, 60}, {12, 31, 2089, 23, 59}},  // year 2100
      {{0, 0, 0x00, 0x00, 0, 0}, {0, 0, 1990, 0, 0}},          // no lower clamp but the year
      {{12, 31, 0x08, 0x29, 23, 59}, {12, 31, 2089, 23, 59}},  // the last moment kept as is
  };
  for (const Case& c : cases) {
    AdvancedPayload payload = DeviceAdvancedPayload();
    std::copy(c.wire.begin(), c.wire.end(), payload.begin() + 54);  // start
    std::copy(c.wire.begin(), c.wire.end(), payload.begin() + 60);  // end
    device.answers.push_back(GetAnswer(payload));
    ASSERT_NE(Mfp_GetSystemInfo(), 0);
    for (const DeviceDateTime& time : {setup().tollStart, setup().tollEnd}) {
      EXPECT_THAT((std::vector<int>{time.month, time.day, time.year, time.hour, time.minute}),
                  ElementsAreArray(c.decoded));
    }
  }
}

TEST_F(AdvancedSetupTest, AnswerThatIsNotWholeFailsAndLeavesTheRecordAsItWas) {
  std::strcpy(setup().machineNumber, "5550100");
  std::strcpy(setup().machineId, "FRONT DESK");
  const AdvancedSetupRecord before = setup();
  const auto whole = GetAnswer(DeviceAdvancedPayload());
  auto wrongLength = whole;
  wrongLength[3] = 0x50;
  auto zeroLength = whole;
  zeroLength[3] = 0x00;
  const std::vector<std::vector<uint8_t>> answers = {
      std::vector<uint8_t>(whole.begin(), whole.begin() + 45),  // the ID cut short
      std::vector<uint8_t>(whole.begin(), whole.begin() + 82),  // all but ECM mode
      Bytes({0x1B, 0xA4, 0x00, 0x4F}),                          // 4 bytes: no length
      wrongLength,
      zeroLength,
      {},  // silence
  };
  for (const auto& answer : answers) {
    device.answers.push_back(answer);
    EXPECT_EQ(Mfp_GetSystemInfo(), 0) << answer.size();
    EXPECT_TRUE(SameRecord(before, setup())) << answer.size();
  }
  device.refuseOpen = true;  // nothing written: nothing read
  EXPECT_EQ(Mfp_GetSystemInfo(), 0);
  EXPECT_TRUE(SameRecord(before, setup()));
}

TEST_F(AdvancedSetupTest, PartialSetWriteFailsAndReadsNothing) {
  device.writeLimit = 81;
  EXPECT_EQ(Mfp_SetSystemInfo(), 0);
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize));  // the discard before it
}

TEST(AdvancedPageValues, CommittedTextsAreCutToTheirFieldsAndNulPadded) {
  AdvancedSetupRecord record{};
  std::memset(&record, 'x', sizeof record);
  AdvancedPageValues values;
  values.machineNumber = std::string(30, '7');
  values.machineId = "AB";
  values.prefixDial = "123456789";
  CommitPageValues(values, record);
  EXPECT_EQ(std::string(record.machineNumber), std::string(20, '7'));
  EXPECT_EQ(std::string(record.machineId, sizeof record.machineId),
            std::string("AB") + std::string(19, '\0'));
  EXPECT_STREQ(record.prefixDial, "12345");
  EXPECT_EQ(record.tollSaver, uint8_t('x'));  // the toll saver is Apply's alone
}

}  // namespace
}  // namespace vornik::test
