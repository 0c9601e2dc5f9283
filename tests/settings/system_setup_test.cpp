#include <gmock/gmock.h>

#include <cstring>

#include "link/machine_state.h"
#include "link/port_io.h"
#include "link_fixture.h"
#include "settings/advanced_setup.h"
#include "settings/system_setup.h"

namespace vornik::test {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

class SystemSetupTest : public LinkTest {
 protected:
  SystemSetupTest() { usePort(kPortEcp1); }

  // A 32-byte get answer with length 28 whose field bytes 10 to 31 are 0x10 + offset.
  static std::vector<uint8_t> numberedAnswer() {
    std::vector<uint8_t> answer =
        Bytes({0x1B, 0xA4, 0x00, 0x1C, 0x50, 0xE0, 0x82, 0xC1, 0x41, 0x00});
    for (int i = 10; i < 32; ++i)
      answer.push_back(uint8_t(0x10 + i));
    return answer;
  }

  SystemSetupRecord& setup() { return MachineState.SystemSetup; }
};

TEST_F(SystemSetupTest, DefaultsTravelInWireOrderBehindTheSetHeader) {
  std::memset(&MachineState, 0xAA, sizeof MachineState);
  DefaultMachineState();
  device.answers.push_back(WriteAcknowledgement(0x41));
  EXPECT_NE(Mfp_SetSettings(), 0);
  ASSERT_EQ(device.writes.size(), 1u);
  EXPECT_THAT(device.writes[0],
              ElementsAreArray({0x1B, 0xA4, 0x00, 0x1B, 0x50, 0xE0, 0x82, 0xC2, 0x41,  // header
                                0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // reserved1 .. paperType
                                0x0A, 0x01, 0x01,                    // discard, contrast, mode
                                0x00, 0x64, 0x00, 0x01,              // zoom 100, copies 1
                                0x01, 0x01, 0x09,                    // time-out, receive, reserved4
                                0x02, 0x03, 0x03, 0x02,  // rings, interval, count, confirm
                                0x01, 0x01}));           // auto journal, RX reduction
}

TEST_F(SystemSetupTest, FullAnswerDecodesEveryFieldFromItsWirePosition) {
  device.answers.push_back(numberedAnswer());
  const uint32_t start = fake.clock.now;
  EXPECT_NE(Mfp_GetSettings(), 0);
  EXPECT_GE(fake.clock.now - start, 1000u);
  ASSERT_EQ(device.writes.size(), 1u);
  EXPECT_THAT(device.writes[0], ElementsAre(0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x41));
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 32u));

  const SystemSetupRecord& r = setup();
  EXPECT_EQ(r.reserved1, 0x1A);
  EXPECT_EQ(r.reserved2, 0x1B);
  EXPECT_EQ(r.traySize, 0x1C);
  EXPECT_EQ(r.reserved3, 0x1D);
  EXPECT_EQ(r.bypassSize, 0x1E);
  EXPECT_EQ(r.paperType, 0x1F);
  EXPECT_EQ(r.discardSize, 0x20);
  EXPECT_EQ(r.contrast, 0x21);
  EXPECT_EQ(r.documentMode, 0x22);
  EXPECT_EQ(r.zoom, 0x2324);
  EXPECT_EQ(r.copies, 0x2526);
  EXPECT_EQ(r.printTimeout, 0x27);
  EXPECT_EQ(r.receiveMode, 0x28);
  EXPECT_EQ(r.reserved4, 0x29);
  EXPECT_EQ(r.ringCount, 0x2A);
  EXPECT_EQ(r.redialInterval, 0x2B);
  EXPECT_EQ(r.redialCount, 0x2C);
  EXPECT_EQ(r.sendConfirm, 0x2D);
  EXPECT_EQ(r.autoJournal, 0x2E);
  EXPECT_EQ(r.rxReduction, 0x2F);

  EXPECT_THAT(traces(),
              ElementsAre("===> (Get Settings) SYSTEM SETUP <===\n\r", "WriteData = 9 \n\r",
                          "Size to read = 32 \n\r", "ReadData = 32 \n\r",
                          "0000: 1B A4 00 1C 50 E0 82 C1 ....P...\r\n",
                          "0x08: 41 00 1A 1B 1C 1D 1E 1F A.......\r\n",
                          "0x10: 20 21 22 23 24 25 26 27  !\"#$%&'\r\n",
                          "0x18: 28 29 2A 2B 2C 2D 2E 2F ()*+,-./\r\n", "Length = 28 \n\r"));
}

TEST_F(SystemSetupTest, ReadFieldsGoBackUnchangedInTheSetRequest) {
  device.answers.push_back(numberedAnswer());
  ASSERT_NE(Mfp_GetSettings(), 0);
  device.answers.push_back(WriteAcknowledgement(0x41));
  ASSERT_NE(Mfp_SetSettings(), 0);
  ASSERT_EQ(device.writes.size(), 2u);
  const auto& sent = device.writes[1];
  ASSERT_EQ(sent.size(), 31u);
  const auto answer = numberedAnswer();
  EXPECT_THAT(std::vector<uint8_t>(sent.begin() + 9, sent.end()),
              ElementsAreArray(answer.begin() + 10, answer.end()));
}

TEST_F(SystemSetupTest, AnswerThatIsNotWholeFailsAndLeavesTheRecordAsItWas) {
  setup().reserved4 = 9;
  setup().zoom = 100;
  const SystemSetupRecord before = setup();
  auto wrongLength = numberedAnswer();
  wrongLength[3] = 0x1D;
  auto zeroLength = numberedAnswer();
  zeroLength[3] = 0x00;
  const std::vector<std::vector<uint8_t>> answers = {
      // Twelve bytes with the full length: only reserved1 and reserved2 arrived.
      Bytes({0x1B, 0xA4, 0x00, 0x1C, 0x50, 0xE0, 0x82, 0xC1, 0x41, 0x00, 0x07, 0x08}),
      Bytes({0x1B, 0xA4, 0x00, 0x1C}),  // 4 bytes: the length counts as 0
      wrongLength,                      // 32 bytes, length 29
      zeroLength,                       // 32 bytes, length 0
      {},                               // silence
  };
  for (const auto& answer : answers) {
    device.answers.push_back(answer);
    EXPECT_EQ(Mfp_GetSettings(), 0) << answer.size();
    EXPECT_EQ(std::memcmp(&before, &setup(), sizeof before), 0) << answer.size();
  }
  EXPECT_THAT(traces(), testing::Contains("Length = 28 \n\r"));

  device.refuseOpen = true;  // nothing written: nothing read
  EXPECT_EQ(Mfp_GetSettings(), 0);
  EXPECT_EQ(std::memcmp(&before, &setup(), sizeof before), 0);
}

TEST_F(SystemSetupTest, SetRequestCarriesWordsHighByteFirst) {
  setup().copies = 99;
  setup().zoom = 300;
  device.answers.push_back(WriteAcknowledgement(0x41));
  const uint32_t start = fake.clock.now;
  EXPECT_NE(Mfp_SetSettings(), 0);
  EXPECT_GE(fake.clock.now - start, 500u);
  ASSERT_EQ(device.writes.size(), 1u);
  const auto& sent = device.writes[0];
  EXPECT_THAT(std::vector<uint8_t>(sent.begin() + 18, sent.begin() + 22),
              ElementsAre(0x01, 0x2C, 0x00, 0x63));
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 10u));
  EXPECT_THAT(traces(), ElementsAre("===> SET SETTINGS <===\n\r", "WriteData = 31 \n\r",
                                    "0000: 1B A4 00 1B 50 E0 82 C2 ....P...\r\n",
                                    "0x08: 41 00 00 00 00 00 00 0A A.......\r\n",
                                    "0x10: 01 01 01 2C 00 63 01 01 ...,.c..\r\n",
                                    "0x18: 09 02 03 03 02 01 01 00 .......\r\n"));
}

TEST_F(SystemSetupTest, PartialSetWriteFailsAndReadsNothing) {
  device.writeLimit = 30;
  EXPECT_EQ(Mfp_SetSettings(), 0);
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize));  // the discard before it
}

// A setup write is done only when the device says it stored the record: one that stays
// silent, or whose answer comes cut short or counts otherwise, may still hold its old setup.
TEST_F(SystemSetupTest, SetupWritesSucceedOnlyWhenTheDeviceAcknowledges) {
  struct Write {
    const char* name;
    int (*command)();
    int record;
  };
  for (const Write& write :
       {Write{"settings", Mfp_SetSettings, 0x41}, Write{"advanced", Mfp_SetSystemInfo, 0x40}}) {
    const auto acknowledgement = WriteAcknowledgement(write.record);
    auto zeroLength = acknowledgement;
    zeroLength[3] = 0x00;
    const std::vector<std::pair<std::vector<uint8_t>, bool>> answers = {
        {acknowledgement, true},
        {{}, false},
        {std::vector<uint8_t>(acknowledgement.begin(), acknowledgement.begin() + 5), false},
        {zeroLength, false},
    };
    for (const auto& [answer, acknowledged] : answers) {
      device.answers.clear();
      if (!answer.empty())
        device.answers.push_back(answer);
      EXPECT_EQ(write.command() != 0, acknowledged) << write.name << ", " << answer.size();
    }
  }
}

}  // namespace
}  // namespace vornik::test
