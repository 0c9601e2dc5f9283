#include <gmock/gmock.h>

#include "link/command_frame.h"
#include "link/port_io.h"
#include "phonebook/phonebook_transfer.h"
#include "phonebook_fixture.h"

namespace vornik::test {
namespace {

using testing::Each;
using testing::ElementsAre;
using testing::ElementsAreArray;

constexpr size_t kBodySize = 6900;

// The head of a read answer that announces `records` records: its length field counts the
// rest of the head and the records.
std::vector<uint8_t> AnswerHead(int records) {
  const int length = 7 + 69 * records;
  return Bytes(
      {0x1B, 0xA4, length >> 8, length & 0xFF, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0x00, records});
}

// One record as the device sends it: name and dial number padded with blanks.
std::vector<uint8_t> DeviceRecord(int slot, int groupFlag, int inUseFlag, std::string_view name,
                                  const std::vector<uint8_t>& dialData) {
  auto record = Bytes({slot, groupFlag, inUseFlag});
  Append(record, Padded(name, 20, ' '));
  Append(record, dialData);
  return record;
}

std::vector<uint8_t> DialText(std::string_view number) {
  return Padded(number, 46, ' ');
}

// The tick counter moves only while the program sleeps, so the request wait sleeps exactly
// its length and `slept` tells every sleep of the read.
class GetPhonebookTest : public PhonebookTest {
 protected:
  GetPhonebookTest() { fake.clock.step = 0; }
};

TEST_F(GetPhonebookTest, DefaultCountsReadTheHeadThenTheWholeBodyAndDecodeBySlot) {
  std::vector<uint8_t> members(46, 0);
  members[0] = 0x10;
  members[44] = members[45] = 0x20;  // a member set that happens to end in blank bytes
  std::vector<uint8_t> body;
  Append(body, DeviceRecord(6, 0, 1, "ANNA", DialText("0123 45")));
  Append(body, DeviceRecord(8, 1, 0, "TEAM", members));
  Append(body, DeviceRecord(0, 0, 0, "NOBODY", DialText("999")));    // slot 0: skipped
  Append(body, DeviceRecord(101, 0, 0, "BEYOND", DialText("999")));  // past N: skipped
  body.resize(kBodySize, 0);
  device.answers = {AnswerHead(4), body};
  SetEntryName(entry(0), "KEPT");
  const uint32_t start = fake.clock.now;

  ASSERT_NE(Mfp_GetPhonebook(), 0);

  ASSERT_EQ(device.writes.size(), 1u);
  EXPECT_THAT(device.writes[0],
              ElementsAre(0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0xFF));
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 11u, kBodySize));
  EXPECT_EQ(fake.clock.slept, kPhonebookRequestWaitMs + 1000u);
  EXPECT_GE(fake.clock.now - start, 2000u);

  EXPECT_EQ(entry(5).groupFlag, 0);
  EXPECT_EQ(entry(5).inUseFlag, 1);
  EXPECT_EQ(EntryName(entry(5)), "ANNA");
  EXPECT_THAT(std::vector<uint8_t>(entry(5).name + 4, entry(5).name + 20), Each(0));
  EXPECT_EQ(EntryDialNumber(entry(5)), "0123 45");
  EXPECT_EQ(entry(7).groupFlag, 1);
  EXPECT_EQ(std::vector<uint8_t>(entry(7).dialData, entry(7).dialData + 46), members);
  EXPECT_EQ(EntryName(entry(0)), "KEPT");
  for (size_t i : {1u, 6u, 8u, 99u})
    EXPECT_EQ(EntryName(entry(i)), "") << i;

  const auto& lines = traces();
  ASSERT_EQ(lines.size(), 22u);  // 7 lines, 13 dump lines of 100 bytes, 2 lines
  EXPECT_THAT(
      std::vector<std::string>(lines.begin(), lines.begin() + 7),
      ElementsAre("===> GET PHONEBOOK <===\n\r", "0000: 1B A4 00 06 50 E0 82 C1 ....P...\r\n",
                  "0x08: 42 FF 00 00 00 00 00 00 B.\r\n", "WriteData = 10 \n\r",
                  "ReadData = 11 \n\r", "Size to read = 6900 \n\r", "ReadData = 6900 \n\r"));
  EXPECT_EQ(lines[7], "0000: 1B A4 01 1B 50 E0 82 C1 ....P...\r\n");
  EXPECT_EQ(lines[19], "0x60: 20 20 20 20 00 00 00 00     \r\n");
  EXPECT_THAT(std::vector<std::string>(lines.end() - 2, lines.end()),
              ElementsAre("Length = 283 \n\r", "Number of entries = 4 \n\r"));
}

TEST_F(GetPhonebookTest, FieldsFilledToTheirWidthAreTrimmedWithinThem) {
  // Terminator bytes that a file from elsewhere left non-zero.
  entry(0).nameTerminator = 'X';
  entry(0).dialTerminator = 'Y';
  std::vector<uint8_t> body;
  Append(body, DeviceRecord(1, 0, 0, "ABCDEFGHIJKLMNOPQRS ", DialText("123")));
  body.resize(kBodySize, 0);
  device.answers = {AnswerHead(1), body};

  ASSERT_NE(Mfp_GetPhonebook(), 0);
  EXPECT_EQ(EntryName(entry(0)), "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(EntryDialNumber(entry(0)), "123");
  EXPECT_EQ(entry(0).nameTerminator, 'X');  // the terminators are never written
  EXPECT_EQ(entry(0).dialTerminator, 'Y');
}

// A phonebook that lost records on the way fails whole, after its retries: shown, the
// entries that never came would pass for empty ones, and Write would empty them on the
// device. One that holds every record its head announces succeeds.
TEST_F(GetPhonebookTest, BodyLackingAnnouncedRecordsFailsAfterItsRetriesAndChangesNothing) {
  SetEntryName(entry(2), "KEPT");
  SetEntryDialNumber(entry(2), "0123456789");
  const auto before = TableBytes();
  std::vector<uint8_t> twoRecords;
  Append(twoRecords, DeviceRecord(1, 0, 0, "FIRST", DialText("111")));
  Append(twoRecords, DeviceRecord(2, 0, 0, "SECOND", DialText("222")));
  auto cutInTheThird = twoRecords;
  const auto third = DeviceRecord(3, 0, 0, "THIRD", DialText("333"));
  cutInTheThird.insert(cutInTheThird.end(), third.begin(), third.begin() + 30);

  device.answers = {AnswerHead(100), twoRecords};  // then silence
  EXPECT_EQ(Mfp_GetPhonebook(), 0);
  EXPECT_THAT(device.readSizes,
              ElementsAre(kDiscardReadSize, 11u, kBodySize, kBodySize - 138, kBodySize - 138));
  EXPECT_EQ(fake.clock.slept, kPhonebookRequestWaitMs + 1000u + 500u + 500u);
  EXPECT_THAT(traces(), testing::Contains("Retry Read(n) = 0 \n\r"));
  device.answers = {AnswerHead(3), cutInTheThird};
  EXPECT_EQ(Mfp_GetPhonebook(), 0);
  EXPECT_EQ(TableBytes(), before);

  device.answers = {AnswerHead(2), twoRecords};
  EXPECT_NE(Mfp_GetPhonebook(), 0);
  EXPECT_EQ(EntryName(entry(1)), "SECOND");
  EXPECT_EQ(EntryDialNumber(entry(2)), "0123456789");
}

TEST_F(GetPhonebookTest, RetryCompletesABodyThatCameInTwoPieces) {
  std::vector<uint8_t> body;
  for (int slot = 1; slot <= 100; ++slot)
    Append(body, DeviceRecord(slot, 0, 0, "N" + std::to_string(slot), DialText("5")));
  const std::vector<uint8_t> first(body.begin(), body.begin() + 100);
  const std::vector<uint8_t> rest(body.begin() + 100, body.end());
  device.answers = {AnswerHead(100), first, rest};

  ASSERT_NE(Mfp_GetPhonebook(), 0);
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 11u, kBodySize, kBodySize - 100));
  EXPECT_EQ(fake.clock.slept, kPhonebookRequestWaitMs + 1500u);
  EXPECT_EQ(EntryName(entry(1)), "N2");  // the record the two pieces share
  EXPECT_EQ(EntryName(entry(99)), "N100");
  EXPECT_THAT(traces(), testing::Contains("Retry Read(n) = 6800 \n\r"));
}

TEST_F(GetPhonebookTest, FailuresLeaveTheTableUntouched) {
  SetEntryName(entry(3), "STAYS");
  const auto before = TableBytes();
  std::vector<uint8_t> record = DeviceRecord(4, 0, 0, "NEW", DialText("1"));

  // A body of 11 bytes or less, even after the retries.
  device.answers = {AnswerHead(1), std::vector<uint8_t>(record.begin(), record.begin() + 11)};
  EXPECT_EQ(Mfp_GetPhonebook(), 0);
  // A head of other than 11 bytes: the body is never asked for.
  device.answers = {Bytes({0x1B, 0xA4, 0x1A, 0xFB, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0x00})};
  device.readSizes.clear();
  EXPECT_EQ(Mfp_GetPhonebook(), 0);
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 11u));
  // A request that cannot be written: nothing is read.
  device.refuseOpen = true;
  device.readSizes.clear();
  EXPECT_EQ(Mfp_GetPhonebook(), 0);
  EXPECT_TRUE(device.readSizes.empty());

  EXPECT_EQ(TableBytes(), before);
}

// Only the answer to the phonebook read is a phonebook: a head that carries another
// signature, operation or record, or whose length field does not count exactly the records
// it announces, fails the read and leaves the table as it was.
TEST_F(GetPhonebookTest, HeadOfAnotherAnswerOrOfAnotherLengthIsRefused) {
  std::vector<uint8_t> body;
  for (int slot = 1; slot <= 100; ++slot)
    Append(body, DeviceRecord(slot, 0, 0, "NEW", DialText("1")));
  const auto before = TableBytes();
  std::vector<std::vector<uint8_t>> heads;
  for (size_t offset : {4, 5, 6, 7, 8}) {  // signature, operation, record
    heads.push_back(AnswerHead(100));
    heads.back()[offset] ^= 0x03;
  }
  heads.push_back(AnswerHead(100));
  heads.back()[3] += 1;  // a length one byte longer than 100 records
  heads.push_back(AnswerHead(100));
  heads.back()[10] = 99;  // 99 records announced, the length of 100
  for (const auto& head : heads) {
    device.answers = {head, body};
    EXPECT_EQ(Mfp_GetPhonebook(), 0);
    EXPECT_EQ(TableBytes(), before);
  }
  device.answers = {AnswerHead(100), body};
  EXPECT_NE(Mfp_GetPhonebook(), 0);
  EXPECT_EQ(EntryName(entry(99)), "NEW");
}

TEST_F(GetPhonebookTest, RecordCountZeroSucceedsAndChangesNothing) {
  SetEntryName(entry(0), "OLD");
  std::vector<uint8_t> body;
  Append(body, DeviceRecord(1, 0, 0, "NEW", DialText("1")));
  body.resize(kBodySize, 0);
  device.answers = {AnswerHead(0), body};
  const auto before = TableBytes();

  EXPECT_NE(Mfp_GetPhonebook(), 0);
  EXPECT_EQ(TableBytes(), before);
}

class SetPhonebookTest : public PhonebookTest {
 protected:
  // All bytes written, joined.
  std::vector<uint8_t> sent() const {
    std::vector<uint8_t> all;
    for (const auto& w : device.writes)
      Append(all, w);
    return all;
  }
};

TEST_F(SetPhonebookTest, FrameCarriesEveryEntryInStoreOrder) {
  SetEntryName(entry(0), "BOB");
  SetEntryDialNumber(entry(0), "555");
  entry(0).inUseFlag = 1;
  entry(2).groupFlag = 1;
  entry(2).dialData[0] = 0x10;
  entry(2).dialData[1] = 0x08;
  SetEntryName(entry(2), "TEAM");
  device.answers = {WriteAcknowledgement(0x42)};

  ASSERT_NE(Mfp_SetPhonebook(), 0);

  ASSERT_EQ(device.writes.size(), 1u);
  const auto& frame = device.writes[0];
  ASSERT_EQ(frame.size(), 6910u);
  EXPECT_THAT(std::vector<uint8_t>(frame.begin(), frame.begin() + 10),
              ElementsAre(0x1B, 0xA4, 0x1A, 0xFA, 0x50, 0xE0, 0x82, 0xC2, 0x42, 100));
  auto bob = Bytes({1, 0, 1, 'B', 'O', 'B'});
  Append(bob, std::vector<uint8_t>(17, 0));
  Append(bob, Bytes({'5', '5', '5'}));
  Append(bob, std::vector<uint8_t>(43, 0xFF));
  EXPECT_EQ(std::vector<uint8_t>(frame.begin() + 10, frame.begin() + 79), bob);

  auto empty = Bytes({2, 0, 0});
  Append(empty, std::vector<uint8_t>(20, 0));
  Append(empty, std::vector<uint8_t>(46, 0xFF));
  EXPECT_EQ(std::vector<uint8_t>(frame.begin() + 79, frame.begin() + 148), empty);

  auto team = Bytes({3, 1, 0, 'T', 'E', 'A', 'M'});
  Append(team, std::vector<uint8_t>(16, 0));
  Append(team, Bytes({0x10, 0x08}));
  Append(team, std::vector<uint8_t>(44, 0));  // member sets go verbatim
  EXPECT_EQ(std::vector<uint8_t>(frame.begin() + 148, frame.begin() + 217), team);
  EXPECT_EQ(frame[10 + 69 * 99], 100);

  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize, 10u));
  EXPECT_EQ(fake.clock.slept, 1000u);
  EXPECT_THAT(traces(), ElementsAre("===> SET PHONEBOOK <===\n\r", "WriteData = 6910 \n\r",
                                    "Size to read = 10 \n\r", "ReadData = 10 \n\r",
                                    "0000: 1B A4 00 06 50 E0 82 C2 ....P...\r\n",
                                    "0x08: 42 00 00 00 00 00 00 00 B.\r\n"));
}

TEST_F(SetPhonebookTest, TextsThatFillTheirFieldsStayInTheirFields) {
  // Terminator bytes that a file from elsewhere left non-zero.
  std::memset(entry(0).name, 'N', 20);
  entry(0).nameTerminator = 'X';
  SetEntryDialNumber(entry(0), "12");
  std::memset(entry(99).name, 'N', 20);
  entry(99).nameTerminator = 'X';
  std::memset(entry(99).dialData, '7', 46);
  entry(99).dialTerminator = 'Y';  // the last entry: nothing follows it in the frame
  device.answers = {WriteAcknowledgement(0x42)};

  ASSERT_NE(Mfp_SetPhonebook(), 0);
  const auto& frame = device.writes.at(0);
  ASSERT_EQ(frame.size(), 6910u);
  auto first = Bytes({1, 0, 0});
  Append(first, std::vector<uint8_t>(20, 'N'));
  Append(first, Padded("12", 46, 0xFF));
  EXPECT_EQ(std::vector<uint8_t>(frame.begin() + 10, frame.begin() + 79), first);
  auto last = Bytes({100, 0, 0});
  Append(last, std::vector<uint8_t>(20, 'N'));
  Append(last, std::vector<uint8_t>(46, '7'));
  EXPECT_EQ(std::vector<uint8_t>(frame.end() - 69, frame.end()), last);
}

// The acknowledgement must answer the phonebook write (its signature, operation and record)
// and its byte count must equal its length field plus 4.
TEST_F(SetPhonebookTest, AcknowledgementMustAnswerTheWriteAndCountItsBytes) {
  const std::vector<std::pair<std::vector<uint8_t>, bool>> cases = {
      {WriteAcknowledgement(0x42), true},
      {WriteAcknowledgement(0x41), false},  // the settings write's
      {Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC1, 0x42, 0x00}), false},  // a read's
      {Bytes({0x1B, 0xA4, 0x00, 0x06, 0x40, 0xE0, 0x82, 0xC2, 0x42, 0x00}), false},  // signature
      {Bytes({0x1B, 0xA4, 0x00, 0x00}), false},  // four bytes: length taken as 0, nothing answered
      {Bytes({0x1B, 0xA4, 0x00, 0x08, 0x50, 0xE0, 0x82, 0xC2, 0x42, 0x00}), false},
      {Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50}), false},
      {{}, false},
  };
  for (const auto& [answer, accepted] : cases) {
    device.answers.clear();
    if (!answer.empty())
      device.answers.push_back(answer);
    EXPECT_EQ(Mfp_SetPhonebook() != 0, accepted) << answer.size();
  }
}

TEST_F(SetPhonebookTest, ShortWriteSendsTheRestAfterAPause) {
  device.writeLimit = 4000;
  device.answers = {WriteAcknowledgement(0x42)};

  ASSERT_NE(Mfp_SetPhonebook(), 0);
  ASSERT_EQ(device.writes.size(), 2u);
  EXPECT_EQ(device.writes[0].size(), 4000u);
  EXPECT_EQ(device.writes[1].size(), 2910u);
  const auto frame = sent();  // the rest goes on from the first unwritten byte
  ASSERT_EQ(frame.size(), 6910u);
  EXPECT_EQ(frame[10 + 69 * 57], 58);
  EXPECT_EQ(frame[10 + 69 * 99], 100);
  EXPECT_EQ(fake.clock.slept, 500u + 1000u);
  EXPECT_THAT(std::vector<std::string>(traces().begin(), traces().begin() + 3),
              ElementsAre("===> SET PHONEBOOK <===\n\r", "WriteData = 4000 \n\r",
                          "WriteData(retry) = 4000 \n\r"));
}

TEST_F(SetPhonebookTest, RetryThatWritesNothingIsTriedOnceMore) {
  int opens = 0;
  fake.devices.add(PortNameTable[size_t(kPortEcp1)], [&](unsigned access, unsigned share) {
    return ++opens == 2 ? nullptr : device.factory()(access, share);
  });
  device.writeLimit = 6000;
  device.answers = {WriteAcknowledgement(0x42)};

  ASSERT_NE(Mfp_SetPhonebook(), 0);
  ASSERT_EQ(device.writes.size(), 2u);
  EXPECT_EQ(device.writes[0].size() + device.writes[1].size(), 6910u);
  EXPECT_EQ(fake.clock.slept, 500u + 500u + 1000u);
}

TEST_F(SetPhonebookTest, FrameNotWrittenWholeFailsWithoutReading) {
  device.writeLimit = 1000;  // two writes of 1000 bytes leave 4910 unsent
  device.answers = {WriteAcknowledgement(0x42)};
  EXPECT_EQ(Mfp_SetPhonebook(), 0);
  EXPECT_EQ(device.writes.size(), 2u);  // the first retry wrote something: no second one
  EXPECT_THAT(device.readSizes, ElementsAre(kDiscardReadSize));  // the discard's only

  device.writes.clear();
  device.readSizes.clear();
  device.refuseOpen = true;
  EXPECT_EQ(Mfp_SetPhonebook(), 0);
  EXPECT_TRUE(device.readSizes.empty());
}

}  // namespace
}  // namespace vornik::test
