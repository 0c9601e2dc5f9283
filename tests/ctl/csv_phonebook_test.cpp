// The phonebook's CSV: RFC 4180 fields, the rows it writes, and every refused row named by
// its line with the reason.
#include <gmock/gmock.h>

#include "ctl/csv_phonebook.h"
#include "rows_matchers.h"

namespace vornik::ctl {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr int kSpeedDials = 100;
constexpr const char* kRowsBeyondTwo =
    "the phonebook holds 2 entries: this row and the rest of the file are not read";

TEST(CsvPhonebook, WritesAHeaderAndOneQuotedWhereNeededRowPerEntryEndingInCrLf) {
  EXPECT_EQ(WriteCsvPhonebook({Entry(0, "FRONT DESK", "5550100"),
                               Entry(7, "SMITH, JOHN", "9P555#12*"), Group(19, "ALL", {0, 7})}),
            "speed_dial,name,phone_number,members\r\n"
            "0,FRONT DESK,5550100,\r\n"
            "7,\"SMITH, JOHN\",9P555#12*,\r\n"
            "19,ALL,,0 7\r\n");
}

TEST(CsvPhonebook, RowsWrittenReadBackUnchanged) {
  const std::vector<PhonebookRow> rows = {
      Entry(0, "FRONT DESK", "5550100"), Entry(1, "O'HARA & SONS, LTD.", std::string(46, '9')),
      Entry(2, "A/B +-,.'/*#&", "*#P1"), Entry(3, std::string(20, 'N'), "123"),
      Group(50, "", {0, 1, 2, 3}),       Group(99, "EVERYONE", {3}),
  };
  const ImportedPhonebook read = ParseCsvPhonebook(WriteCsvPhonebook(rows), kSpeedDials);
  EXPECT_THAT(read.errors, IsEmpty());
  EXPECT_EQ(read.rows, rows);
}

TEST(CsvPhonebook, ReadsQuotedFieldsLineEndsAndColumnsInAnyOrder) {
  // A byte order mark, the columns reordered and padded, CR LF and LF line ends, a blank
  // line, a doubled quote, a comma and a line break inside quotes.
  const std::string text =
      "\xEF\xBB\xBF"
      " Name ,PHONE_NUMBER,members,speed_dial\r\n"
      "\"SMITH, JOHN\",555-0100,,5\n"
      "\n"
      "\"ALL\",,\"5\r\n6\",10\r\n"
      "\"O\"\"HARA\",5550123,,7\r\n"
      "lower case,(555) 01.42 p7,,06\n";
  const ImportedPhonebook read = ParseCsvPhonebook(text, kSpeedDials);
  EXPECT_THAT(read.errors,
              ElementsAre(RowError{6,
                                   "bad characters in the name \"O\"HARA\" (letters, digits, "
                                   "blanks and + - , . ' / * # & only)"}));
  EXPECT_THAT(read.rows,
              ElementsAre(Entry(5, "SMITH, JOHN", "5550100"), Entry(6, "LOWER CASE", "5550142P7"),
                          Group(10, "ALL", {5, 6})));
}

TEST(CsvPhonebook, GroupsNameTheirMembersBySpeedDial) {
  const ImportedPhonebook read = ParseCsvPhonebook(
      "speed_dial,name,phone_number,members\n"
      "3,A,5550100,\n"
      "12,B,5550101,\n"
      "40,BOTH,,012;3 3\n",
      kSpeedDials);
  EXPECT_THAT(read.errors, IsEmpty());
  EXPECT_THAT(read.rows, ElementsAre(Entry(3, "A", "5550100"), Entry(12, "B", "5550101"),
                                     Group(40, "BOTH", {3, 12})));
}

TEST(CsvPhonebook, RowsWithoutASpeedDialTakeTheLowestLeftFree) {
  const ImportedPhonebook read = ParseCsvPhonebook("name,phone_number\nA,5550100\nB,5550101\n", 3);
  EXPECT_THAT(read.rows, ElementsAre(Entry(0, "A", "5550100"), Entry(1, "B", "5550101")));
  const ImportedPhonebook full =
      ParseCsvPhonebook("speed_dial,name,phone_number\n,A,5550100\n0,B,5550101\n,C,5550102\n", 2);
  EXPECT_THAT(full.rows, ElementsAre(Entry(0, "B", "5550101"), Entry(1, "A", "5550100")));
  EXPECT_THAT(full.errors, ElementsAre(RowError{4, kRowsBeyondTwo}));
}

TEST(CsvPhonebook, EveryRefusedRowIsNamedByItsLineWithTheReason) {
  const ImportedPhonebook read = ParseCsvPhonebook(
      "speed_dial,name,phone_number,members\r\n"
      "0,GOOD,5550100,\r\n"
      "1,TWENTY ONE CHARACTERS,5550101,\r\n"
      "2,\"MULTI\r\nLINE\",5550102,\r\n"
      "3,NO DIGIT,*#P,\r\n"
      "4,SHORT,12,\r\n"
      "5,LONG," +
          std::string(47, '1') +
          ",\r\n"
          "6,PLUS,+495550100,\r\n"
          "100,OUT,5550103,\r\n"
          "x,WORD,5550104,\r\n"
          "0,AGAIN,5550105,\r\n"
          "7,NONE,,\r\n"
          "8,GROUP,,0 99 1 9\r\n"
          "9,INNER,,0\r\n"
          "10,FIELDS,5550106\r\n"
          "11,\"CLOSED\"X,5550107,\r\n"
          "12,HALF\"QUOTE,5550108,\r\n"
          "13,\"OPEN,5550109,\r\n",
      kSpeedDials);
  EXPECT_THAT(read.rows, ElementsAre(Entry(0, "GOOD", "5550100"), Group(9, "INNER", {0})));
  EXPECT_THAT(
      read.errors,
      ElementsAre(RowError{3, "name too long: 21 characters, at most 20"},
                  RowError{4,
                           "bad characters in the name \"MULTI\r\nLINE\" (letters, digits, blanks "
                           "and + - , . ' / * # & only)"},
                  RowError{6, "no digit in the phone number \"*#P\""},
                  RowError{7, "phone number shorter than 3 characters"},
                  RowError{8, "phone number too long: 47 characters, at most 46"},
                  RowError{9,
                           "bad characters in the phone number \"+495550100\" (digits, #, * and P "
                           "only)"},
                  RowError{10, "speed dial 100 is out of range (0 to 99)"},
                  RowError{11, "speed dial \"x\" is not a number"},
                  RowError{12, "speed dial 0 is given twice (also on line 2)"},
                  RowError{13, "no phone number"}, RowError{14, "unknown member \"99\""},
                  RowError{14, "member \"1\" (line 3) is not taken"},
                  RowError{14, "member \"9\" is a group dial"},
                  RowError{16, "3 fields, where the header names 4"},
                  RowError{17, "text after a closing quote"},
                  RowError{18, "a quote inside a field that does not begin with one"},
                  RowError{19, "a quoted field is not closed"}));
}

TEST(CsvPhonebook, AHeaderThatIsNotAPhonebooksRefusesTheFile) {
  struct Case {
    std::string text;
    RowError error;
  };
  const Case cases[] = {
      {"", {1, "no header line (speed_dial,name,phone_number,members)"}},
      {"\r\n\r\n", {1, "no header line (speed_dial,name,phone_number,members)"}},
      {"name,phone,members\n",
       {1,
        "unknown column \"phone\" (the columns are speed_dial, name, "
        "phone_number and members)"}},
      {"\nspeed_dial,members\n0,1\n",
       {2,
        "the header must name the columns name and "
        "phone_number"}},
      {"name,name,phone_number\n", {1, "the column name is named twice"}},
      {"\"name,phone_number\n0,A,555\n", {1, "a quoted field is not closed"}},
  };
  for (const Case& c : cases) {
    const ImportedPhonebook read = ParseCsvPhonebook(c.text, kSpeedDials);
    EXPECT_THAT(read.rows, IsEmpty()) << c.text;
    EXPECT_THAT(read.errors, ElementsAre(c.error)) << c.text;
  }
}

TEST(CsvPhonebook, ControlCharactersInTextsAreWrittenAsQuestionMarks) {
  EXPECT_EQ(WriteCsvPhonebook({Entry(0, "X\x1B[2J\r\nY\x7F", "555\a0100"), Group(1, "\tG", {0})}),
            "speed_dial,name,phone_number,members\r\n"
            "0,X?[2J??Y?,555?0100,\r\n"
            "1,?G,,0\r\n");
}

TEST(CsvPhonebook, ATextBeyondThePhonebooksLimitsIsReadOnlyUpToThem) {
  std::string distinctMembers;
  for (int i = 0; i <= kSpeedDials; ++i)
    distinctMembers += std::to_string(i) + " ";
  const std::string header = "speed_dial,name,phone_number,members\n0,A,5550100,\n";
  ExpectReadUpToTheLimits(
      ParseCsvPhonebook,
      {
          {"rows beyond the speed dials",
           "name,phone_number\n" + Repeated("A,5550100\n", 200'000),
           kSpeedDials,
           {{102,
             "the phonebook holds 100 entries: this row and the rest of the file are not read"}}},
          {"a line of a million commas",
           header + std::string(1'000'000, ',') + "\n",
           1,
           {{3, "1000001 fields, where the header names 4"}}},
          {"a field longer than any phonebook text",
           header + "1,B," + std::string(2000, '5') + ",\n",
           1,
           {{3, "a field longer than 1024 characters"}}},
          {"one missing member named many times",
           header + "1,G,,0" + Repeated(" 7", 400) + "\n",
           1,
           {{3, "unknown member \"7\""}}},
          {"more members than speed dials",
           header + "1,G,,\"" + distinctMembers + "\"\n",
           1,
           {{3, "a group dial of more than 100 members"}}},
      });
}

}  // namespace
}  // namespace vornik::ctl
