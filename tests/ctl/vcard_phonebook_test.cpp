// The phonebook's vCards: the cards written in both versions, what is read of cards that
// other address books write, and every refused card named by its BEGIN line.
#include <gmock/gmock.h>

#include "ctl/vcard_phonebook.h"
#include "rows_matchers.h"

namespace vornik::ctl {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::MatchesRegex;

constexpr int kSpeedDials = 100;

const std::vector<PhonebookRow> kRows = {
    Entry(0, "FRONT DESK", "5550100"),
    Entry(1, "SMITH, JOHN & SON", "9P555#12*"),
    Entry(2, std::string(20, 'N'), std::string(46, '7')),
    Group(19, "ALL BRANCHES", {0, 1, 2}),
    Group(20, "", {2}),
};

TEST(VcardPhonebook, RowsWrittenReadBackUnchangedInBothVersions) {
  for (int version : {3, 4}) {
    const ImportedPhonebook read =
        ParseVcardPhonebook(WriteVcardPhonebook(kRows, version), kSpeedDials);
    EXPECT_THAT(read.errors, IsEmpty()) << version;
    EXPECT_EQ(read.rows, kRows) << version;
  }
}

TEST(VcardPhonebook, WritesOneCardPerEntryWithItsGroupInTheVersionsOwnWords) {
  const std::vector<PhonebookRow> rows = {Entry(0, "A, B", "5550100"), Group(5, "G", {0})};
  const std::string four = WriteVcardPhonebook(rows, 4);
  EXPECT_THAT(four, MatchesRegex("BEGIN:VCARD\r\n"
                                 "VERSION:4\\.0\r\n"
                                 "UID:(urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-8[0-9a-f]{3}-[89ab][0-9a-f]"
                                 "{3}-[0-9a-f]{12})\r\n"
                                 "FN:A\\\\, B\r\n"
                                 "TEL;VALUE=text:5550100\r\n"
                                 "X-VORNIK-SPEED-DIAL:0\r\n"
                                 "END:VCARD\r\n"
                                 "BEGIN:VCARD\r\n"
                                 "VERSION:4\\.0\r\n"
                                 "KIND:group\r\n"
                                 "UID:urn:uuid:[-0-9a-f]{36}\r\n"
                                 "FN:G\r\n"
                                 "MEMBER:urn:uuid:[-0-9a-f]{36}\r\n"
                                 "X-VORNIK-SPEED-DIAL:5\r\n"
                                 "END:VCARD\r\n"));
  // The member names the entry's card; the same phonebook gives the same cards.
  const std::string uid = four.substr(four.find("UID:") + 4, 45);
  EXPECT_THAT(four, HasSubstr("MEMBER:" + uid + "\r\n"));
  EXPECT_EQ(WriteVcardPhonebook(rows, 4), four);

  const std::string three = WriteVcardPhonebook(rows, 3);
  EXPECT_THAT(three, HasSubstr("VERSION:3.0\r\nUID:" + uid +
                               "\r\nFN:A\\, B\r\nN:A\\, B;;;;\r\n"
                               "TEL:5550100\r\n"));
  EXPECT_THAT(three, HasSubstr("X-ADDRESSBOOKSERVER-KIND:group\r\n"));
  EXPECT_THAT(three, HasSubstr("X-ADDRESSBOOKSERVER-MEMBER:" + uid + "\r\n"));
}

TEST(VcardPhonebook, ReadsCardsAsOtherAddressBooksWriteThem) {
  // Folded lines, LF line ends, lower-case names, property groups, quoted parameters, a
  // preferred number, a tel: URI, N without FN, and a group of the older version whose
  // members are named by UID. Cards without a speed dial take the lowest left free.
  const std::string text =
      "BEGIN:VCARD\n"
      "VERSION:3.0\n"
      "UID:alice\n"
      "fn:Alice Lid\n"
      " dell\n"
      "item1.TEL;TYPE=\"work,voice\":555-0100\n"
      "TEL;TYPE=CELL,PREF:(555) 0199\n"
      "END:VCARD\n"
      "\n"
      "begin:vcard\r\n"
      "version:4.0\r\n"
      "UID:urn:uuid:b0b\r\n"
      "N:Jones;Bob;;;\r\n"
      "TEL;VALUE=uri;PREF=2:tel:555-0142\r\n"
      "TEL;VALUE=uri;PREF=1:tel:%2A31%23-555-0143;ext=7\r\n"
      "X-VORNIK-SPEED-DIAL:0\r\n"
      "end:vcard\r\n"
      "BEGIN:VCARD\n"
      "VERSION:3.0\n"
      "X-ADDRESSBOOKSERVER-KIND:group\n"
      "FN:Both\n"
      "X-ADDRESSBOOKSERVER-MEMBER:alice\n"
      "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:b0b\n"
      "END:VCARD\n";
  const ImportedPhonebook read = ParseVcardPhonebook(text, kSpeedDials);
  EXPECT_THAT(read.errors, IsEmpty());
  EXPECT_THAT(read.rows,
              ElementsAre(Entry(0, "BOB JONES", "*31#5550143"),
                          Entry(1, "ALICE LIDDELL", "5550199"), Group(2, "BOTH", {0, 1})));
}

TEST(VcardPhonebook, EveryRefusedCardIsNamedByItsBeginLineWithTheReason) {
  const ImportedPhonebook read = ParseVcardPhonebook(
      "VERSION:4.0\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:2.1\r\n"
      "FN:OLD\r\n"
      "TEL:5550100\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "FN:NO VERSION\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:4.0\r\n"
      "FN:NESTED\r\n"
      "BEGIN:VCARD\r\n"
      "END:VCARD\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:4.0\r\n"
      "no colon here\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:4.0\r\n"
      "KIND:group\r\n"
      "FN:LOST\r\n"
      "MEMBER:urn:uuid:nobody\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:3.0\r\n"
      "FN:ÉCOLE\r\n"
      "TEL:5550100\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\n"
      "VERSION:4.0\r\n"
      "FN:OPEN\r\n",
      kSpeedDials);
  EXPECT_THAT(read.rows, IsEmpty());
  EXPECT_THAT(
      read.errors,
      ElementsAre(RowError{1, "text outside a card"},
                  RowError{2, "vCard version 2.1 is not read (3.0 and 4.0 are)"},
                  RowError{7, "the card has no VERSION"}, RowError{10, "a card inside a card"},
                  RowError{16, "line 18 is not NAME:VALUE"},
                  RowError{20, "unknown member \"urn:uuid:nobody\""},
                  RowError{26,
                           "bad characters in the name \"ÉCOLE\" (letters, digits, blanks "
                           "and + - , . ' / * # & only)"},
                  RowError{31, "the card is not closed by END:VCARD"}));
}

TEST(VcardPhonebook, ACarriageReturnOrOtherControlCharacterCannotAddALine) {
  const std::vector<PhonebookRow> rows = {Entry(0, "X\rTEL:999", "5550100\nTEL:1"),
                                          Group(1, "G\x1B[2J", {0})};
  for (int version : {3, 4}) {
    const std::string text = WriteVcardPhonebook(rows, version);
    EXPECT_THAT(text, HasSubstr("FN:X?TEL:999\r\n")) << version;
    EXPECT_THAT(text, HasSubstr("5550100?TEL:1\r\n")) << version;
    EXPECT_THAT(text, HasSubstr("FN:G?[2J\r\n")) << version;
    const ImportedPhonebook read = ParseVcardPhonebook(text, kSpeedDials);
    EXPECT_THAT(read.rows, IsEmpty()) << version;
    EXPECT_EQ(read.errors.size(), 3u) << version;
  }
}

TEST(VcardPhonebook, ATextBeyondThePhonebooksLimitsIsReadOnlyUpToThem) {
  const std::string entry = "BEGIN:VCARD\nVERSION:4.0\nUID:a\nFN:A\nTEL:5550100\nEND:VCARD\n";
  const std::string group = entry + "BEGIN:VCARD\nVERSION:4.0\nKIND:group\nFN:G\n";
  std::string distinctMembers;
  for (int i = 0; i <= kSpeedDials; ++i)
    distinctMembers += "MEMBER:m" + std::to_string(i) + "\n";
  ExpectReadUpToTheLimits(
      ParseVcardPhonebook,
      {
          {"cards beyond the speed dials",
           Repeated("BEGIN:VCARD\nVERSION:4.0\nFN:B\nTEL:5550101\nEND:VCARD\n", 1000),
           kSpeedDials,
           {{501,
             "the phonebook holds 100 entries: this row and the rest of the file are not read"}}},
          {"lines of text outside cards",
           Repeated("x\n", 100'000) + entry,
           1,
           {{1, "text outside a card"}}},
          {"a line longer than any phonebook text, and one not read",
           "BEGIN:VCARD\nVERSION:4.0\nFN:" + std::string(2000, 'B') +
               "\nTEL:5550100\nEND:VCARD\n"
               "BEGIN:VCARD\nVERSION:4.0\nPHOTO:" +
               std::string(100'000, 'Q') + "\nFN:C\nTEL:5550102\nEND:VCARD\n",
           1,
           {{1, "line 3 is longer than 1024 characters"}}},
          {"one missing member named many times",
           group + Repeated("MEMBER:nobody\n", 10'000) + "MEMBER:a\nEND:VCARD\n",
           1,
           {{7, "unknown member \"nobody\""}}},
          {"more members than speed dials",
           group + distinctMembers + "END:VCARD\n",
           1,
           {{7, "a group dial of more than 100 members"}}},
      });
}

}  // namespace
}  // namespace vornik::ctl
