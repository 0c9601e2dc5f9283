// Every command of the device, run against the in-process simulated device: the inquiry
// through the program's own routine, the record commands through the program's exchange
// and port routines with the request bytes the program sends.
#include <gmock/gmock.h>

#include <numeric>

#include "link/command_frame.h"
#include "link/debug_trace.h"
#include "link/inquiry.h"
#include "link/port_io.h"
#include "link/spin_delay.h"
#include "sim_fixture.h"

namespace devsim::test {
namespace {

using testing::ElementsAreArray;
using vornik::MachineState;

const std::vector<uint8_t> kInquiryRequest =
    Bytes({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0});

// The factory system setup in wire order (get answer bytes 10..31).
const std::vector<uint8_t> kFactorySystemSetup =
    Bytes({0, 0, 0, 0, 0, 0, 10, 1, 1, 0x00, 0x64, 0x00, 0x01, 1, 1, 9, 2, 3, 3, 2, 1, 1});

std::optional<vornik::ExchangeAnswer> Exchange(const std::vector<uint8_t>& request, uint32_t waitMs,
                                               size_t answerSize) {
  return vornik::RunExchange({.request = request, .waitMs = waitMs, .answerSize = answerSize});
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
  return {bytes.begin() + ptrdiff_t(from), bytes.begin() + ptrdiff_t(from + count)};
}

TEST_F(SimTest, InquiryIsAnsweredWithTheModelCodeOnEveryConnection) {
  const auto answer = Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC0, 0x00, 0x02});
  usePort(vornik::kPortLpt1);
  MachineState.ModelCode = 0;
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);

  useUsbPipes();
  MachineState.ModelCode = 0;
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 2);

  usePort(vornik::kPortEcp1);
  sim.model.content().modelCode = 7;
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
  EXPECT_EQ(MachineState.ModelCode, 7);

  EXPECT_THAT(requests(), ElementsAreArray({kInquiryRequest, kInquiryRequest, kInquiryRequest}));
  ASSERT_EQ(answers().size(), 3u);
  EXPECT_EQ(answers()[0], answer);
  EXPECT_EQ(answers()[2].back(), 7);
  EXPECT_THAT(fake.debug.lines, testing::Contains("Length = 6 \n\r"));
}

TEST_F(SimTest, SystemSetupIsReadAndWrittenAsTheWireBytes) {
  usePort(vornik::kPortLpt1);
  const auto get = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x41});
  auto answer = Exchange(get, 1000, 32);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->received, 32u);
  EXPECT_EQ(answer->length() + 4u, answer->received);
  EXPECT_EQ(Slice(answer->bytes, 0, 10),
            Bytes({0x1B, 0xA4, 0x00, 0x1C, 0x50, 0xE0, 0x82, 0xC1, 0x41, 0x00}));
  EXPECT_EQ(Slice(answer->bytes, 10, 22), kFactorySystemSetup);

  // Legal tray, zoom 300 (01 2C), copies 99 (00 63), rings 7, sending confirmation off.
  const auto fields =
      Bytes({5, 6, 1, 7, 2, 3, 30, 0, 2, 0x01, 0x2C, 0x00, 0x63, 4, 0, 8, 7, 15, 13, 0, 0, 1});
  auto set = Bytes({0x1B, 0xA4, 0x00, 0x1B, 0x50, 0xE0, 0x82, 0xC2, 0x41});
  set.insert(set.end(), fields.begin(), fields.end());
  ASSERT_EQ(set.size(), 31u);
  answer = Exchange(set, 500, 10);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->bytes, Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC2, 0x41, 0x00}));
  EXPECT_THAT(sim.model.content().systemSetup, ElementsAreArray(fields));

  answer = Exchange(get, 1000, 32);
  ASSERT_TRUE(answer);
  EXPECT_EQ(Slice(answer->bytes, 10, 22), fields);
  EXPECT_THAT(requests(), ElementsAreArray({get, set, get}));
}

TEST_F(SimTest, AdvancedSetupKeepsItsTextsBlankPadded) {
  useUsbPipes();
  const auto get = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x40});
  auto answer = Exchange(get, 1000, 83);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->received, 83u);
  EXPECT_EQ(answer->length(), 79);
  const auto& a = answer->bytes;
  EXPECT_EQ(Slice(a, 10, 20), Padded("+1 555 0100", 20));
  EXPECT_EQ(Slice(a, 30, 20), Padded("VORNIK OFFICE", 20));
  EXPECT_EQ(Slice(a, 64, 6), Bytes({10, 10, 0x07, 0xD2, 22, 0}));  // toll saver from 22:00
  EXPECT_EQ(Slice(a, 76, 5), Padded("9", 5));
  EXPECT_EQ(a[82], 1);  // error-correction mode

  // The program sends its texts NUL-padded; the blanks come back on the next read.
  std::vector<uint8_t> payload(a.begin() + 10, a.end());
  std::fill_n(payload.begin(), 20, 0);
  std::string_view number = "555 0199";
  std::copy(number.begin(), number.end(), payload.begin());
  std::fill_n(payload.begin() + 66, 5, 0);
  payload[66] = '0';
  payload[43] = 0x5A;  // a byte the device keeps for itself, carried through
  auto set = Bytes({0x1B, 0xA4, 0x00, 0x4E, 0x50, 0xE0, 0x82, 0xC2, 0x40});
  set.insert(set.end(), payload.begin(), payload.end());
  ASSERT_EQ(set.size(), 82u);
  answer = Exchange(set, 1000, 10);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->bytes, Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC2, 0x40, 0x00}));

  answer = Exchange(get, 1000, 83);
  ASSERT_TRUE(answer);
  EXPECT_EQ(Slice(answer->bytes, 10, 20), Padded("555 0199", 20));
  EXPECT_EQ(Slice(answer->bytes, 76, 5), Padded("0", 5));
  EXPECT_EQ(answer->bytes[53], 0x5A);
  EXPECT_EQ(Slice(answer->bytes, 30, 46), Slice(set, 29, 46));  // the rest as sent
}

TEST_F(SimTest, DeviceInformationAnswerCarriesCountersAndVersions) {
  usePort(vornik::kPortEcp1);
  auto answer = Exchange(Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x43}), 1000, 115);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->received, 115u);
  EXPECT_EQ(answer->length(), 111);
  const auto& a = answer->bytes;
  EXPECT_EQ(a[10], 87);                                   // free memory, percent
  EXPECT_EQ(Slice(a, 11, 4), Bytes({0, 0, 0x07, 0x33}));  // 1843 platen scans
  EXPECT_EQ(Slice(a, 19, 4), Bytes({0, 0, 0x14, 0x07}));  // 5127 prints
  EXPECT_EQ(std::string(a.begin() + 35, a.begin() + 39), "2.14");
  EXPECT_EQ(a[39], 0);
  EXPECT_EQ(std::string(a.begin() + 55, a.begin() + 75), "MARV 1.21 04-08-2003");

  // The information cannot be written: the device ignores such a frame.
  std::vector<uint8_t> set(9 + 105, 0x20);
  vornik::PutRecordHeader(set.data(), set.size(), vornik::kOpWriteRecord, 0x43);
  answer = Exchange(set, 1000, 10);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->received, 0u);
  EXPECT_EQ(seen[Traffic::kRejected].size(), 1u);
}

// A phonebook write frame as the program builds it: 0xFF fill, names NUL-padded, ordinary
// numbers followed by 0xFF, group member sets raw.
struct Entry {
  uint8_t slot;
  uint8_t group;
  std::string name;
  std::vector<uint8_t> dial;
};

std::vector<uint8_t> PhonebookFrame(const std::vector<Entry>& entries) {
  std::vector<uint8_t> frame(10 + 69 * entries.size(), 0xFF);
  vornik::PutRecordHeader(frame.data(), frame.size(), vornik::kOpWriteRecord, 0x42);
  frame[9] = uint8_t(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* r = frame.data() + 10 + 69 * i;
    r[0] = entries[i].slot;
    r[1] = entries[i].group;
    r[2] = 0;  // the program never sets the in-use flag
    std::fill_n(r + 3, 20, 0);
    std::copy(entries[i].name.begin(), entries[i].name.end(), r + 3);
    std::copy(entries[i].dial.begin(), entries[i].dial.end(), r + 23);
  }
  return frame;
}

std::vector<uint8_t> Digits(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST_F(SimTest, PhonebookReadGivesTheHeaderThenEveryRecord) {
  usePort(vornik::kPortLpt1);
  const auto request = Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0xFF});
  ASSERT_EQ(vornik::PortWrite(request.data(), request.size()), 10u);
  vornik::SpinDelay(1000);
  std::vector<uint8_t> head(11), body(6900);
  ASSERT_EQ(vornik::PortRead(head.data(), head.size()), 11u);
  EXPECT_EQ(head, Bytes({0x1B, 0xA4, 0x1A, 0xFB, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0x00, 100}));
  fake.clock.sleep(1000);
  ASSERT_EQ(vornik::PortRead(body.data(), body.size()), 6900u);

  auto record = [&](size_t slot) { return Slice(body, 69 * (slot - 1), 69); };
  std::vector<uint8_t> expected = {1, 0, 1};  // slot 1, ordinary, a member of the group
  auto name = Padded("FRONT DESK", 20), dial = Padded("5550100", 46);
  expected.insert(expected.end(), name.begin(), name.end());
  expected.insert(expected.end(), dial.begin(), dial.end());
  EXPECT_EQ(record(1), expected);
  EXPECT_EQ(record(6)[2], 0);  // not a member
  EXPECT_EQ(Slice(record(20), 0, 3), Bytes({20, 1, 0}));
  EXPECT_EQ(Slice(record(20), 3, 20), Padded("ALL BRANCHES", 20));
  EXPECT_EQ(Slice(record(20), 23, 2), Bytes({0xF0, 0x00}));  // slots 1 to 4
  EXPECT_EQ(Slice(record(50), 0, 3), Bytes({50, 0, 0}));
  EXPECT_EQ(Slice(record(50), 3, 66), Padded("", 66));
  EXPECT_EQ(record(100)[0], 100);
}

TEST_F(SimTest, PhonebookWriteIsStoredBlankPaddedWithMembershipRecomputed) {
  usePort(vornik::kPortLpt1);
  std::vector<Entry> entries;
  for (uint8_t slot = 1; slot <= 100; ++slot)
    entries.push_back({slot, 0, "", {}});
  entries[0] = {1, 0, "BOB", Digits("123")};
  entries[2] = {3, 0, "ANN", Digits("5551234")};
  std::vector<uint8_t> members(46, 0);
  members[0] = 0xA0;   // slots 1 and 3
  members[45] = 0x20;  // a member set may end in a byte equal to a blank
  entries[9] = {10, 1, "TEAM", members};
  const auto frame = PhonebookFrame(entries);
  ASSERT_EQ(frame.size(), 6910u);
  EXPECT_EQ(Slice(frame, 2, 2), Bytes({0x1A, 0xFA}));

  ASSERT_EQ(vornik::PortWrite(frame.data(), frame.size()), frame.size());
  fake.clock.sleep(1000);
  uint8_t ack[10] = {};
  ASSERT_EQ(vornik::PortRead(ack, sizeof ack), 10u);
  EXPECT_EQ(vornik::AnswerLength(ack, 10) + 4, 10);
  EXPECT_EQ(std::vector<uint8_t>(ack, ack + 10),
            Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC2, 0x42, 0x00}));

  const auto& book = sim.model.content().phonebook;
  EXPECT_THAT(book[0].name, ElementsAreArray(Padded("BOB", 20)));
  EXPECT_THAT(book[0].dialData, ElementsAreArray(Padded("123", 46)));
  EXPECT_EQ(book[0].inUseFlag, 1);
  EXPECT_EQ(book[1].inUseFlag, 0);  // the factory group is gone
  EXPECT_EQ(book[2].inUseFlag, 1);
  EXPECT_THAT(book[3].name, ElementsAreArray(Padded("", 20)));
  EXPECT_EQ(book[9].groupFlag, 1);
  EXPECT_THAT(book[9].dialData, ElementsAreArray(members));
  EXPECT_EQ(book[19].groupFlag, 0);

  // A frame naming two slots changes only those.
  const auto partial = PhonebookFrame({{2, 0, "CAROL", Digits("77")}, {0, 0, "NO SLOT", {}}});
  ASSERT_EQ(vornik::PortWrite(partial.data(), partial.size()), partial.size());
  EXPECT_THAT(book[1].name, ElementsAreArray(Padded("CAROL", 20)));
  EXPECT_THAT(book[0].name, ElementsAreArray(Padded("BOB", 20)));
  EXPECT_EQ(requests().size(), 2u);
}

TEST_F(SimTest, FirmwareImageIsAccountedOnceTheLineGoesQuiet) {
  usePort(vornik::kPortLpt1);
  const auto announce = Bytes({0x1B, 0xA5, 0x00, 0x04, 0x50, 0xE0, 0x82, 0x05});
  ASSERT_EQ(vornik::PortWrite(announce.data(), announce.size()), 8u);
  fake.clock.sleep(500);
  uint8_t reply[9] = {};
  ASSERT_EQ(vornik::PortRead(reply, sizeof reply), 9u);
  EXPECT_EQ(std::vector<uint8_t>(reply, reply + 9),
            Bytes({0x1B, 0xA5, 0x00, 0x05, 0x50, 0xE0, 0x82, 0x05, 0x00}));
  fake.clock.sleep(5000);

  std::vector<uint8_t> image(10000);
  for (size_t i = 0; i < image.size(); ++i)
    image[i] = uint8_t(i * 7 + 0x1B);
  for (size_t at = 0; at < image.size(); at += 4096) {
    const size_t n = std::min<size_t>(4096, image.size() - at);
    ASSERT_EQ(vornik::PortWrite(image.data() + at, n), n);
  }
  EXPECT_TRUE(sim.model.download().active);
  EXPECT_EQ(sim.model.download().size, 10000u);
  EXPECT_EQ(sim.model.content().firmware.imagesReceived, 0u);  // the line is not quiet yet

  fake.clock.sleep(40000);
  sim.model.settle(now());
  const auto& firmware = sim.model.content().firmware;
  EXPECT_EQ(firmware.imagesReceived, 1u);
  EXPECT_EQ(firmware.lastImageSize, 10000u);
  EXPECT_EQ(firmware.lastImageChecksum, std::accumulate(image.begin(), image.end(), 0u));
  EXPECT_FALSE(sim.model.download().active);
  EXPECT_EQ(requests().size(), 1u);  // image bytes are not frames

  EXPECT_NE(vornik::Mfp_Inquiry(), 0);  // and the device listens for frames again
}

TEST_F(SimTest, EcpAnnounceIsNotAnsweredAndRepeatedAnnouncesRestart) {
  usePort(vornik::kPortEcp1);
  auto port = platform::Services().devices->open(vornik::PortNameTable[vornik::kPortEcp1],
                                                 platform::kAccessWrite, platform::kShareNone);
  ASSERT_TRUE(port);
  const uint8_t mode = 0x10;
  const uint8_t direction[4] = {1, 0, 0, 0};
  EXPECT_TRUE(port->control(vornik::kEcpSetMode, &mode, 1));
  EXPECT_TRUE(port->control(vornik::kEcpSetDirection, direction, 4));
  EXPECT_FALSE(port->control(0x182010, &mode, 1));
  const auto ecpAnnounce = Bytes({0x1B, 0xA5, 0x00, 0x04, 0x40, 0xE0, 0x82, 0x05});
  ASSERT_EQ(port->write(ecpAnnounce.data(), 8), 8u);
  EXPECT_TRUE(answers().empty());
  EXPECT_FALSE(sim.model.msUntilReady(now()));

  // An announce again before any image byte starts the download over; it is not image data.
  fake.clock.sleep(6000);
  ASSERT_EQ(port->write(ecpAnnounce.data(), 8), 8u);
  const std::vector<uint8_t> image(4097, 0x01);
  ASSERT_EQ(port->write(image.data(), 4096), 4096u);
  ASSERT_EQ(port->write(image.data(), 1), 1u);
  port.reset();
  fake.clock.sleep(10000);
  sim.model.settle(now());
  EXPECT_EQ(sim.model.content().firmware.lastImageSize, 4097u);
  EXPECT_EQ(sim.model.content().firmware.lastImageChecksum, 4097u);
  EXPECT_EQ(requests().size(), 2u);
}

TEST_F(SimTest, EmptyImageIsNotRecorded) {
  usePort(vornik::kPortLpt1);
  const auto announce = Bytes({0x1B, 0xA5, 0x00, 0x04, 0x50, 0xE0, 0x82, 0x05});
  ASSERT_EQ(vornik::PortWrite(announce.data(), announce.size()), 8u);
  uint8_t reply[9];
  ASSERT_EQ(vornik::PortRead(reply, sizeof reply), 9u);
  fake.clock.sleep(50000);
  sim.model.settle(now());
  EXPECT_FALSE(sim.model.download().active);
  EXPECT_EQ(sim.model.content().firmware.imagesReceived, 0u);
  EXPECT_NE(vornik::Mfp_Inquiry(), 0);
}

}  // namespace
}  // namespace devsim::test
