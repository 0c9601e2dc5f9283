#include <gmock/gmock.h>

#include <cstring>

#include "info/device_info.h"
#include "link/command_frame.h"
#include "link/inquiry.h"
#include "link/port_io.h"
#include "link_fixture.h"
#include "settings/advanced_setup.h"
#include "settings/system_setup.h"

namespace vornik::test {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

class InquiryTest : public LinkTest {
 protected:
  InquiryTest() { usePort(kPortEcp1); }
};

TEST_F(InquiryTest, FullAnswerSetsTheModelCodeAndTracesTheExchange) {
  device.answers.push_back(Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC0, 0x00, 0x03}));
  const uint32_t start = fake.clock.now;
  EXPECT_NE(Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 3);
  ASSERT_EQ(device.writes.size(), 1u);
  EXPECT_THAT(device.writes[0], ElementsAre(0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0));
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 10u));
  EXPECT_GE(fake.clock.now - start, 1500u);
  EXPECT_THAT(traces(),
              ElementsAre("===> INQUIRY <===\n\r", "WriteData = 8 \n\r", "Size to read = 10 \n\r",
                          "ReadData = 10 \n\r", "0000: 1B A4 00 06 50 E0 82 C0 ....P...\r\n",
                          "0x08: 00 03 00 00 00 00 00 00 ..\r\n", "Length = 6 \n\r"));
}

TEST_F(InquiryTest, FiveByteAnswerIsAcceptedWithModelCodeZero) {
  device.answers.push_back(Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50}));
  EXPECT_NE(Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 0);
}

TEST_F(InquiryTest, BadAnswersFailAndSetModelCodeZero) {
  const std::vector<std::vector<uint8_t>> bad = {
      Bytes({0x1B, 0xA5, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC0, 0x00, 0x02}),  // wrong class
      Bytes({0x1C, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC0, 0x00, 0x02}),  // no escape
      Bytes({0x1B, 0xA4, 0x00, 0x06}),                                      // four bytes
      {},                                                                   // silence
  };
  for (const auto& answer : bad) {
    MachineState.ModelCode = 2;
    device.answers.push_back(answer);
    EXPECT_EQ(Mfp_Inquiry(), 0);
    EXPECT_EQ(MachineState.ModelCode, 0);
  }
}

TEST_F(InquiryTest, TooLongAnswerIsCutToTheTenBytesAsked) {
  std::vector<uint8_t> answer(64, 0x55);
  answer[0] = 0x1B;
  answer[1] = 0xA4;
  answer[9] = 2;
  device.answers.push_back(answer);
  EXPECT_NE(Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 10u));
}

TEST_F(InquiryTest, UnwrittenRequestLeavesTheModelCodeAndReadsNothing) {
  device.refuseOpen = true;
  MachineState.ModelCode = 2;
  EXPECT_EQ(Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);
  EXPECT_EQ(fake.devices.opens.size(), 1u);  // the write's open only

  // A partial write fails the same way: the discard before it is all that is read.
  device.refuseOpen = false;
  device.writeLimit = 7;
  device.answers.push_back(Bytes({0x1B, 0xA4, 0, 6, 0x50}));
  EXPECT_EQ(Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize));
}

TEST_F(LinkTest, ExchangeTracesFollowTheCommandsChoice) {
  usePort(kPortEcp1);
  const auto request = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x40});
  device.answers.push_back(Bytes({0x1B, 0xA4, 0x00, 0x00, 0x00}));
  const auto all = RunExchange({.request = request,
                                .title = "===> T <===\n",
                                .dumpRequest = true,
                                .waitMs = 1000,
                                .answerSize = 12,
                                .answerTrace = AnswerTrace::kSizeAndDumpAll});
  ASSERT_TRUE(all);
  EXPECT_EQ(all->received, 5u);
  EXPECT_EQ(all->bytes.size(), 12u);
  EXPECT_EQ(all->length(), 0);
  EXPECT_THAT(traces(),
              ElementsAre("===> T <===\n\r", "WriteData = 9 \n\r",
                          "0000: 1B A4 00 05 50 E0 82 C1 ....P...\r\n",
                          "0x08: 40 00 00 00 00 00 00 00 @\r\n", "Size to read = 12 \n\r",
                          "ReadData = 5 \n\r", "0000: 1B A4 00 00 00 00 00 00 ........\r\n",
                          "0x08: 00 00 00 00 00 00 00 00 ....\r\n"));

  fake.debug.lines.clear();
  device.answers.push_back(Bytes({0x1B, 0xA4, 0x00, 0x06, 0x00}));
  const auto countOnly = RunExchange({.request = request,
                                      .waitMs = 1000,
                                      .answerSize = 10,
                                      .answerTrace = AnswerTrace::kReadCountOnly});
  ASSERT_TRUE(countOnly);
  EXPECT_EQ(countOnly->length(), 6);
  EXPECT_THAT(traces(), ElementsAre("WriteData = 9 \n\r", "ReadData = 5 \n\r"));
}

// A whole record answer of `size` bytes to the read of `record`, its payload numbered.
std::vector<uint8_t> RecordAnswer(int record, size_t size) {
  auto answer = Bytes({0x1B, 0xA4, 0x00, int(size - 4), 0x50, 0xE0, 0x82, 0xC1, record, 0x00});
  for (size_t i = answer.size(); i < size; ++i)
    answer.push_back(uint8_t(0x30 + i % 64));
  return answer;
}

std::vector<uint8_t> MachineStateBytes() {
  std::vector<uint8_t> bytes(sizeof MachineState);
  std::memcpy(bytes.data(), &MachineState, bytes.size());
  return bytes;
}

// An answer is taken only by the request it answers: one that carries another signature,
// operation or record (such as an answer another command left unread) fails the command and
// leaves the records as they were.
TEST_F(LinkTest, AnswerToAnotherRequestIsRefusedAndChangesNothing) {
  usePort(kPortEcp1);
  struct Command {
    const char* name;
    int (*run)();
    std::vector<uint8_t> answer;
  };
  const Command commands[] = {
      {"settings read", Mfp_GetSettings, RecordAnswer(0x41, 32)},
      {"advanced read", Mfp_GetSystemInfo, RecordAnswer(0x40, 83)},
      {"information read", Mfp_GetDeviceInfo, RecordAnswer(0x43, 115)},
      {"settings write", Mfp_SetSettings, WriteAcknowledgement(0x41)},
      {"advanced write", Mfp_SetSystemInfo, WriteAcknowledgement(0x40)},
  };
  for (const Command& command : commands) {
    const auto before = MachineStateBytes();
    for (size_t offset : {4, 5, 6, 7, 8}) {  // signature, operation, record
      SCOPED_TRACE(std::string(command.name) + ", byte " + std::to_string(offset));
      auto other = command.answer;
      other[offset] ^= 0x03;
      device.answers.push_back(other);
      EXPECT_EQ(command.run(), 0);
      EXPECT_EQ(MachineStateBytes(), before);
    }
    device.answers.push_back(command.answer);
    EXPECT_NE(command.run(), 0) << command.name;
  }
}

TEST_F(LinkTest, AnswerLengthCountsOnlyFromFiveBytes) {
  const auto answer = Bytes({0x1B, 0xA4, 0x01, 0x02, 0x00, 0x00});
  EXPECT_EQ(AnswerLength(answer, 4), 0);
  EXPECT_EQ(AnswerLength(answer, 5), 0x0102);
}

TEST(CommandFrame, RecordHeaderCarriesTheLengthBigEndian) {
  std::vector<uint8_t> frame(6910, 0xFF);
  PutRecordHeader(frame.data(), frame.size(), kOpWriteRecord, kRecordPhonebook);
  EXPECT_THAT(std::vector<uint8_t>(frame.begin(), frame.begin() + 10),
              ElementsAreArray({0x1B, 0xA4, 0x1A, 0xFA, 0x50, 0xE0, 0x82, 0xC2, 0x42, 0xFF}));
}

}  // namespace
}  // namespace vornik::test
