// The real vornik-devsim program on a bridge socket: the program's inquiry through the
// POSIX platform, the bridge messages, bad input, the state file, the log and the options.
#include <gmock/gmock.h>

#include <chrono>
#include <fstream>

#include "bridge_client.h"
#include "devsim/faults.h"
#include "devsim/state_file.h"
#include "link/connection.h"
#include "link/inquiry.h"
#include "link/machine_state.h"
#include "platform/bridge_protocol.h"
#include "platform/posix_device_files.h"

namespace devsim::test {
namespace {

namespace bridge = platform::bridge;
using std::chrono::milliseconds;
using testing::HasSubstr;

TEST_F(BridgeTest, InquiryRunsThroughThePosixPlatformAndTheSimulator) {
  const std::string log = folder.file("traffic.log");
  DevsimProcess devsim(socket, {"--model", "2", "--log", log});
  auto& c = vornik::Connection;
  c = vornik::ConnectionState{};
  c.PortKind = vornik::kPortUsb;
  c.osFlavour = vornik::OsFlavour::Win98;
  std::snprintf(c.UsbWritePath, sizeof c.UsbWritePath, "%s", socket.c_str());
  std::snprintf(c.UsbReadPath, sizeof c.UsbReadPath, "%s", socket.c_str());
  vornik::DefaultMachineState();
  vornik::MachineState.ModelCode = 0;

  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(vornik::MachineState.ModelCode, 2);

  EXPECT_EQ(devsim.stop(), 0);
  EXPECT_FALSE(std::filesystem::exists(socket));
  const std::string text = ReadFileText(log);
  EXPECT_THAT(text, HasSubstr("received 1B A4 00 04 50 E0 82 C0\n"));
  EXPECT_THAT(text, HasSubstr("sent 1B A4 00 06 50 E0 82 C0 00 02\n"));
  EXPECT_THAT(text, HasSubstr("open access 2 share 3\n"));  // the USB write pipe's open
}

TEST_F(BridgeTest, ReadHonoursItsTimeoutsAndAnswersWaitAcrossConnections) {
  DevsimProcess devsim(socket, {"--model", "9", "--fault", "late-answer"});
  {
    RawClient writer(socket);
    ASSERT_TRUE(writer.open());
    const auto written = writer.request(bridge::kWrite, kInquiry);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->payload, std::vector<uint8_t>({0, 0, 0, 8}));
  }
  RawClient reader(socket);
  ASSERT_TRUE(reader.open());
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(reader.read(10, 0, 300).empty());  // not ready for 2 s
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(280));
  const auto answer = reader.read(10, 0, 5000);
  elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(answer.size(), 10u);
  EXPECT_EQ(answer[9], 9);
  EXPECT_GE(elapsed, milliseconds(1800));
  EXPECT_LT(elapsed, milliseconds(4000));

  // An interval time-out ends a read soon after the last byte: 10 wanted, 10 + 1 asked.
  ASSERT_TRUE(reader.request(bridge::kWrite, kInquiry));
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(reader.read(11, 200, 10000).size(), 10u);
  elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, milliseconds(3500));

  const auto control = reader.request(bridge::kControl, {0x00, 0x18, 0x20, 0x04, 0x00});
  ASSERT_TRUE(control);
  EXPECT_EQ(control->payload, std::vector<uint8_t>({1}));
}

TEST_F(BridgeTest, BadInputClosesThatConnectionOnlyAndTheDeviceKeepsServing) {
  DevsimProcess devsim(socket);
  RawClient stalled(socket);  // half a message, then nothing: held open throughout
  stalled.sendRaw({bridge::kOpen, 0, 0});

  const std::vector<std::vector<uint8_t>> afterOpen = {
      {'X', 0, 0, 0, 0},                            // unknown code
      {bridge::kOpen, 0, 0, 0, 2, 3, 0},            // a second open
      {bridge::kRead, 0, 0, 0, 5, 0, 0, 0, 10, 0},  // read of the wrong size
      {bridge::kControl, 0, 0, 0, 2, 0x18, 0x20},   // control without a whole code
  };
  for (const auto& message : afterOpen) {
    RawClient client(socket);
    ASSERT_TRUE(client.open());
    client.sendRaw(message);
    EXPECT_FALSE(client.receive()) << "message code " << message[0];
    EXPECT_TRUE(deviceAnswersInquiry());
  }

  const std::vector<std::vector<uint8_t>> beforeOpen = {
      {bridge::kWrite, 0, 0, 0, 1, 0x1B},    // a write before the open
      {bridge::kOpen, 0, 0, 0, 3, 3, 0, 0},  // an open of the wrong size
  };
  for (const auto& message : beforeOpen) {
    RawClient client(socket);
    client.sendRaw(message);
    EXPECT_FALSE(client.receive()) << "message code " << message[0];
  }

  // A 20 MiB payload is refused as soon as its length is seen.
  {
    RawClient client(socket);
    ASSERT_TRUE(client.open());
    std::vector<uint8_t> huge(20u << 20, 0x1B);
    EXPECT_FALSE(client.send(bridge::kWrite, huge) && client.receive());
  }
  EXPECT_TRUE(deviceAnswersInquiry());

  // Through the platform's own client, a write beyond the protocol's limit fails cleanly
  // (no SIGPIPE when the server hangs up in the middle of it).
  {
    auto device = devices.open(socket, platform::kAccessWrite, 0);
    ASSERT_TRUE(device);
    std::vector<uint8_t> huge(bridge::kMaxPayload + 1, 0);
    EXPECT_EQ(device->write(huge.data(), huge.size()), 0u);
  }

  // A request frame of the wrong length is the device's affair: no answer, the
  // connection stays, and the next request on it is answered.
  RawClient client(socket);
  ASSERT_TRUE(client.open());
  ASSERT_TRUE(
      client.request(bridge::kWrite, {0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC0, 0x00}));
  EXPECT_TRUE(client.read(10, 0, 500).empty());
  ASSERT_TRUE(client.request(bridge::kWrite, kInquiry));
  EXPECT_EQ(client.read(10, 0, 2000).size(), 10u);
  EXPECT_EQ(devsim.stop(), 0);  // the stalled connection does not hold up the stop
}

TEST_F(BridgeTest, FaultsShowOverTheBridge) {
  {
    DevsimProcess devsim(socket, {"--fault", "busy"});
    EXPECT_EQ(devices.open(socket, platform::kAccessWrite, 0), nullptr);
  }
  DevsimProcess devsim(socket, {"--fault", "drop-transfer", "--fault", "short-write"});
  RawClient client(socket);
  ASSERT_TRUE(client.open());
  const std::vector<uint8_t> phonebookRead = {0x1B, 0xA4, 0x00, 0x06, 0x50,
                                              0xE0, 0x82, 0xC1, 0x42, 0xFF};
  auto written = client.request(bridge::kWrite, phonebookRead);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->payload, std::vector<uint8_t>({0, 0, 0, 5}));  // half taken
  written = client.request(bridge::kWrite, {phonebookRead.begin() + 5, phonebookRead.end()});
  EXPECT_EQ(written->payload, std::vector<uint8_t>({0, 0, 0, 2}));
  written = client.request(bridge::kWrite, {phonebookRead.begin() + 7, phonebookRead.end()});
  written = client.request(bridge::kWrite, {phonebookRead.begin() + 8, phonebookRead.end()});
  written = client.request(bridge::kWrite, {phonebookRead.begin() + 9, phonebookRead.end()});
  EXPECT_EQ(client.read(11, 0, 2000).size(), 11u);
  std::vector<uint8_t> payload;
  bridge::PutBe32(payload, 6900);
  bridge::PutBe32(payload, 0);
  bridge::PutBe32(payload, 2000);
  EXPECT_FALSE(client.request(bridge::kRead, payload));  // the link dropped halfway
}

TEST_F(BridgeTest, StateFileKeepsEditsAcrossRestarts) {
  const std::string state = folder.file("device.state");
  std::vector<uint8_t> set = {0x1B, 0xA4, 0x00, 0x1B, 0x50, 0xE0, 0x82, 0xC2, 0x41};
  for (uint8_t i = 0; i < 22; ++i)
    set.push_back(i);
  {
    DevsimProcess devsim(socket, {"--state", state});
    auto device = devices.open(socket, platform::kAccessWrite, 0);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->write(set.data(), set.size()), 31u);
    device.reset();
    EXPECT_EQ(devsim.stop(), 0);
  }
  EXPECT_THAT(ReadFileText(state),
              HasSubstr("system-setup 000102030405060708090A0B0C0D0E0F101112131415\n"));
  EXPECT_FALSE(std::filesystem::exists(state + ".tmp"));

  DevsimProcess devsim(socket, {"--state", state});
  RawClient client(socket);
  ASSERT_TRUE(client.open());
  ASSERT_TRUE(
      client.request(bridge::kWrite, {0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x41}));
  const auto answer = client.read(32, 0, 2000);
  ASSERT_EQ(answer.size(), 32u);
  EXPECT_EQ(std::vector<uint8_t>(answer.begin() + 10, answer.end()),
            std::vector<uint8_t>(set.begin() + 9, set.end()));
}

TEST_F(BridgeTest, DamagedStateFileIsRefusedAndLeftAlone) {
  const std::string state = folder.file("device.state");
  DeviceContent content = FactoryContent();
  std::string error;
  ASSERT_TRUE(SaveState(content, state, error));
  std::string text = ReadFileText(state);
  text.replace(text.find("phonebook 7 "), 14, "phonebook 7 ZZ");
  std::ofstream(state) << text;

  std::string output;
  EXPECT_EQ(RunDevsim({"--socket", socket, "--state", state}, output), 1);
  EXPECT_THAT(output, HasSubstr("line 12 is damaged"));
  EXPECT_EQ(ReadFileText(state), text);
  EXPECT_EQ(LoadState(state, content, error), LoadResult::kBad);
}

TEST(DevsimOptions, HelpListsEveryOptionAndFaultAndBadOptionsAreRefused) {
  std::string help;
  EXPECT_EQ(RunDevsim({"--help"}, help), 0);
  for (const char* option :
       {"--socket PATH", "--model N", "--fault NAME", "--state FILE", "--log FILE", "--help"})
    EXPECT_THAT(help, HasSubstr(option));
  for (const auto& fault : AllFaults())
    EXPECT_THAT(help, HasSubstr(std::string(fault.name)));

  const std::vector<std::vector<std::string>> bad = {
      {},                                           // no socket
      {"--socket", "/tmp/x", "--fault", "grumpy"},  // unknown fault
      {"--socket", "/tmp/x", "--model", "256"},     // model out of range
      {"--socket", "/tmp/x", "--model", "2x"},
      {"--socket", "/tmp/x", "--verbose"},
      {"--socket"},
  };
  for (const auto& args : bad) {
    std::string output;
    EXPECT_EQ(RunDevsim(args, output), 2) << output;
    EXPECT_THAT(output, HasSubstr("usage: vornik-devsim"));
  }
}

}  // namespace
}  // namespace devsim::test
