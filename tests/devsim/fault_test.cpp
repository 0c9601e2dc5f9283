// Each injected fault, seen through the program's own routines.
#include <gmock/gmock.h>

#include "link/command_frame.h"
#include "link/inquiry.h"
#include "link/port_io.h"
#include "sim_fixture.h"

namespace devsim::test {
namespace {

using vornik::MachineState;

const auto kGetSettings = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x41});
const auto kAnnounce = Bytes({0x1B, 0xA5, 0x00, 0x04, 0x50, 0xE0, 0x82, 0x05});

class FaultTest : public SimTest {
 protected:
  FaultTest() { usePort(vornik::kPortLpt1); }

  std::optional<vornik::ExchangeAnswer> getSettings() {
    return vornik::RunExchange({.request = kGetSettings, .waitMs = 1000, .answerSize = 32});
  }
};

TEST_F(FaultTest, SilentDeviceTakesTheRequestAndNeverAnswers) {
  sim.model.setFault(Fault::kSilent);
  const uint32_t start = now();
  EXPECT_EQ(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 0);
  EXPECT_GE(now() - start, 1500u + 3000u);  // the read gave up after its total time-out
  EXPECT_EQ(requests().size(), 1u);
  EXPECT_TRUE(answers().empty());

  std::vector<uint8_t> set(31, 0x07);
  vornik::PutRecordHeader(set.data(), set.size(), vornik::kOpWriteRecord, 0x41);
  EXPECT_EQ(vornik::PortWrite(set.data(), set.size()), 31u);
  EXPECT_EQ(sim.model.content().systemSetup, FactoryContent().systemSetup);
}

TEST_F(FaultTest, BusyDeviceRefusesTheOpen) {
  sim.model.setFault(Fault::kBusy);
  EXPECT_EQ(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);  // nothing was written
  ASSERT_EQ(fake.devices.opens.size(), 1u);
  EXPECT_FALSE(fake.devices.opens[0].opened);
  sim.model.setFault(Fault::kBusy, false);
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
}

TEST_F(FaultTest, ShortAnswersCarryOnlyTheirFirstHalf) {
  sim.model.setFault(Fault::kShortAnswer);
  // Five bytes 1B A4 00 06 50 still pass the inquiry, without a model code.
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 0);
  EXPECT_EQ(answers().back(), Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50}));

  const auto answer = getSettings();
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->received, 16u);
  EXPECT_EQ(answer->length(), 28);  // what the program compares with the count received
}

TEST_F(FaultTest, WrongClassByteFailsTheInquiry) {
  sim.model.setFault(Fault::kWrongClass);
  EXPECT_EQ(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 0);
  EXPECT_EQ(answers().back()[1], kWrongClassByte);
}

TEST_F(FaultTest, ZeroLengthFieldIsOnlyTracedByTheInquiry) {
  sim.model.setFault(Fault::kZeroLength);
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);
  EXPECT_THAT(fake.debug.lines, testing::Contains("Length = 0 \n\r"));
  const auto answer = getSettings();
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->received, 32u);
  EXPECT_EQ(answer->length(), 0);
}

TEST_F(FaultTest, LateAnswerIsPickedUpByAReadThatWaitsAndOtherwiseWaitsForTheNextRead) {
  sim.model.setFault(Fault::kLateAnswer);
  const uint32_t start = now();
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);  // the read waited past the 1500 ms pause
  EXPECT_EQ(MachineState.ModelCode, 2);
  EXPECT_GE(now() - start, kLateAnswerMs);
  EXPECT_LT(now() - start, 1500u + 3000u);

  // A read whose time-out ends before the answer is ready gets nothing; the answer then
  // waits for whoever reads next, on another open.
  const auto request = Bytes({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0});
  ASSERT_EQ(vornik::PortWrite(request.data(), request.size()), 8u);
  auto port = platform::Services().devices->open("LPT1", platform::kAccessRead, 0);
  port->setTimeouts({0, 0, 1000, 0, 0});
  uint8_t answer[10] = {};
  EXPECT_EQ(port->read(answer, sizeof answer), 0u);
  port.reset();
  fake.clock.sleep(5000);
  EXPECT_EQ(vornik::PortRead(answer, sizeof answer), 10u);
  EXPECT_EQ(answer[9], 2);
}

TEST_F(FaultTest, ShortWriteTakesHalfOfTheRequest) {
  sim.model.setFault(Fault::kShortWrite);
  EXPECT_EQ(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);
  EXPECT_TRUE(requests().empty());
  // The program writes the rest: the device assembles the frame from both writes.
  const auto request = Bytes({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0});
  EXPECT_EQ(vornik::PortWrite(request.data() + 4, 4), 2u);
  EXPECT_EQ(vornik::PortWrite(request.data() + 6, 2), 1u);
  EXPECT_EQ(vornik::PortWrite(request.data() + 7, 1), 1u);
  EXPECT_EQ(requests().size(), 1u);
}

TEST_F(FaultTest, WrongModelCodeHidesTheSetupPages) {
  sim.model.setFault(Fault::kWrongModel);
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, kWrongModelCode);
}

TEST_F(FaultTest, DroppedLinkBreaksAPhonebookReadHalfway) {
  sim.model.setFault(Fault::kDropTransfer);
  const auto request = Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0xFF});
  ASSERT_EQ(vornik::PortWrite(request.data(), request.size()), 10u);
  fake.clock.sleep(1000);
  std::vector<uint8_t> buffer(6911);
  EXPECT_EQ(vornik::PortRead(buffer.data(), 11), 11u);
  fake.clock.sleep(1000);
  EXPECT_EQ(vornik::PortRead(buffer.data() + 11, 6900), 0u);
  fake.clock.sleep(500);
  EXPECT_EQ(vornik::PortRead(buffer.data() + 11, 6900), 0u);  // the rest is gone
  EXPECT_EQ(seen[Traffic::kDropped].size(), 1u);
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);  // the next command finds the device again
}

TEST_F(FaultTest, DroppedLinkBreaksAPhonebookWriteHalfway) {
  sim.model.setFault(Fault::kDropTransfer);
  std::vector<uint8_t> frame(10 + 69 * 100, 0xFF);
  vornik::PutRecordHeader(frame.data(), frame.size(), vornik::kOpWriteRecord, 0x42);
  frame[9] = 100;
  for (size_t i = 0; i < 100; ++i)
    frame[10 + 69 * i] = uint8_t(i + 1);
  EXPECT_EQ(vornik::PortWrite(frame.data(), frame.size()), 0u);
  // The rest, written again on a new open, is no frame: the device dropped the start.
  EXPECT_EQ(vornik::PortWrite(frame.data() + 3000, frame.size() - 3000), frame.size() - 3000);
  EXPECT_TRUE(requests().empty());
  EXPECT_FALSE(seen[Traffic::kRejected].empty());
  EXPECT_EQ(sim.model.content().phonebook[0].name, FactoryContent().phonebook[0].name);
}

TEST_F(FaultTest, DroppedLinkAbandonsAFirmwareImage) {
  sim.model.setFault(Fault::kDropTransfer);
  ASSERT_EQ(vornik::PortWrite(kAnnounce.data(), kAnnounce.size()), 8u);
  uint8_t reply[9];
  EXPECT_EQ(vornik::PortRead(reply, sizeof reply), 9u);
  const std::vector<uint8_t> block(4096, 0x42);
  EXPECT_EQ(vornik::PortWrite(block.data(), block.size()), 4096u);
  EXPECT_EQ(vornik::PortWrite(block.data(), block.size()), 0u);
  EXPECT_FALSE(sim.model.download().active);
  fake.clock.sleep(20000);
  sim.model.settle(now());
  EXPECT_EQ(sim.model.content().firmware.imagesReceived, 0u);
}

}  // namespace
}  // namespace devsim::test
