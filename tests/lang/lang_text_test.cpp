#include <cstring>
#include <random>

#include "lang/lang_profile.h"
#include "lang_fixture.h"

namespace vornik::test {
namespace {

TEST_F(LangFileTest, ValueLosesBlanksAroundItAndOnePairOfQuotes) {
  useLanguageFile(
      "[MAIN]\n"
      "CAPTION =   \"Remote Control Panel\"   \n"
      "IDC_EXIT=\"  E&xit\"\n"
      "IDC_HELP = '  &Help'\n"
      "[ADVANCED]\n"
      "IDL_TOLL_SAVER=\t Toll saver  \t\n"
      "MIXED = \"half'\n"
      "INNER = \"say \"hi\"\"\n"
      "EMPTY = \"\"\n"
      "ONE = \"\n");
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "Remote Control Panel");
  EXPECT_STREQ(LangText("MAIN", "IDC_EXIT"), "  E&xit");
  EXPECT_STREQ(LangText("MAIN", "IDC_HELP"), "  &Help");
  EXPECT_STREQ(LangText("ADVANCED", "IDL_TOLL_SAVER"), "Toll saver");
  EXPECT_STREQ(LangText("ADVANCED", "MIXED"), "\"half'");
  EXPECT_STREQ(LangText("ADVANCED", "INNER"), "say \"hi\"");
  EXPECT_STREQ(LangText("ADVANCED", "EMPTY"), "");
  EXPECT_STREQ(LangText("ADVANCED", "ONE"), "\"");
}

TEST_F(LangFileTest, LongValueIsCutTo254Characters) {
  const std::string value(300, 'v');
  const std::string quoted = "Q" + std::string(299, 'q');
  useLanguageFile("[COMMON]\nIDS_NOT_RESPOND=" + value + "\nQUOTED = \"" + quoted + "\"\n");
  EXPECT_EQ(std::string(LangText("COMMON", "IDS_NOT_RESPOND")), value.substr(0, 254));
  EXPECT_EQ(std::string(LangText("COMMON", "QUOTED")), quoted.substr(0, 254));
}

TEST_F(LangFileTest, CutNeverSplitsACharacter) {
  const std::string two = "\xC3\xBC";           // ü
  const std::string three = "\xE2\x82\xAC";     // €
  const std::string four = "\xF0\x9F\x93\xA0";  // a fax machine
  const struct {
    std::string value;
    std::string expected;
  } cases[] = {
      {std::string(253, 'a') + two, std::string(253, 'a')},
      {std::string(252, 'a') + two + "b", std::string(252, 'a') + two},
      {std::string(252, 'a') + three, std::string(252, 'a')},
      {std::string(251, 'a') + three + "b", std::string(251, 'a') + three},
      {std::string(251, 'a') + four, std::string(251, 'a')},
      {std::string(250, 'a') + four + four, std::string(250, 'a') + four},
      {std::string(84, 'a') + std::string(1, '\x80') + three + std::string(56, 'z') +
           std::string(37, '\xBC') + std::string(72, 'y') + two,
       std::string(84, 'a') + std::string(1, '\x80') + three + std::string(56, 'z') +
           std::string(37, '\xBC') + std::string(72, 'y')},
      {two + std::string(300, '\xBC'), two + std::string(252, '\xBC')},
  };
  for (const auto& [value, expected] : cases) {
    useLanguageFile("[COMMON]\nIDS_NAME=" + value + "\n");
    EXPECT_EQ(std::string(LangText("COMMON", "IDS_NAME")), expected) << value.size();
  }
}

TEST_F(LangFileTest, SectionAndKeyNamesIgnoreLetterCase) {
  useLanguageFile("[MAIN]\r\nCAPTION=Panel\r\n[settings]\r\nidl_zoom=Zoom:\r\n");
  EXPECT_STREQ(LangText("Main", "caption"), "Panel");
  EXPECT_STREQ(LangText("SETTINGS", "IDL_ZOOM"), "Zoom:");
}

TEST_F(LangFileTest, MissingFileSectionOrKeyGivesTheEmptyText) {
  LanguageFilePath = directory() + "absent.lng";
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "");
  useLanguageFile("[MAIN]\nCAPTION=Panel\n; IDC_EXIT=commented out\n[INFO]\nNOVALUE\n");
  EXPECT_STREQ(LangText("MAIN", "IDC_EXIT"), "");
  EXPECT_STREQ(LangText("ABOUT", "CAPTION"), "");
  EXPECT_STREQ(LangText("INFO", "CAPTION"), "");
  EXPECT_STREQ(LangText("INFO", "NOVALUE"), "");
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "Panel");
}

TEST_F(LangFileTest, EveryLookupFillsTheOneSharedBuffer) {
  useLanguageFile("[MAIN]\nCAPTION=Panel\nIDC_EXIT=Exit\n");
  const char* first = LangText("MAIN", "CAPTION");
  EXPECT_STREQ(first, "Panel");
  const char* second = LangText("MAIN", "IDC_EXIT");
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, TextBuffer);
  EXPECT_STREQ(first, "Exit");
  LangText("MAIN", "IDC_HELP");
  EXPECT_STREQ(first, "");
}

TEST_F(LangFileTest, ValueBytesPassThroughAndAreNeverAFormat) {
  useLanguageFile(std::string("[COMMON]\nIDS_NAME=Nom \xE9\xFF\x01 %s%n%d\n", 33));
  EXPECT_STREQ(LangText("COMMON", "IDS_NAME"), "Nom \xE9\xFF\x01 %s%n%d");
}

TEST_F(LangFileTest, HugeLinesAndNamesStayWithinTheLimit) {
  const std::string huge(4 << 20, 'x');
  useLanguageFile("[" + huge + "]\nCAPTION=wrong section\n" + huge + "=wrong key\n[MAIN]\n" + huge +
                  "\nCAPTION=" + huge + "\nIDC_EXIT=\"" + huge + "\"\nIDC_HELP=Help");
  EXPECT_EQ(std::string(LangText("MAIN", "CAPTION")), std::string(254, 'x'));
  EXPECT_EQ(std::string(LangText("MAIN", "IDC_EXIT")), std::string(254, 'x'));
  // The last line has no newline.
  EXPECT_STREQ(LangText("MAIN", "IDC_HELP"), "Help");
  EXPECT_STREQ(LangText(huge.c_str(), "CAPTION"), "");
}

TEST_F(LangFileTest, UnterminatedQuoteAndMissingNewlineKeepTheValue) {
  useLanguageFile("[MAIN]\nCAPTION=\"Remote Control Panel");
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "\"Remote Control Panel");
  useLanguageFile("[MAIN]\nCAPTION='" + std::string(400, 'q'));
  EXPECT_EQ(std::string(LangText("MAIN", "CAPTION")), "'" + std::string(253, 'q'));
}

TEST_F(LangFileTest, BinaryFilesNeverGiveMoreThan254Characters) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 3000);
  const char* seeds[] = {"[MAIN]", "\nCAPTION=", "=", "\"", "'", "\n", "\r", "[", "]"};
  for (int file = 0; file < 300; ++file) {
    std::string bytes;
    const int pieces = length(random) / 30;
    for (int i = 0; i < pieces; ++i) {
      bytes += seeds[byte(random) % 9];
      for (int n = byte(random); n > 0; --n) {
        bytes.push_back(static_cast<char>(byte(random)));
      }
    }
    useLanguageFile(bytes);
    EXPECT_LE(std::strlen(LangText("MAIN", "CAPTION")), kLangTextMaxLength);
  }
}

TEST_F(LangFileTest, ReaderHonoursTheBufferSize) {
  const std::string path = write("v.ini", "[S]\nK=\"abcdef\"\n");
  char small[4];
  EXPECT_EQ(ReadProfileString(path, "s", "k", small, sizeof small), 3u);
  EXPECT_STREQ(small, "abc");
  char one[1] = {'x'};
  EXPECT_EQ(ReadProfileString(path, "S", "K", one, 1), 0u);
  EXPECT_EQ(one[0], '\0');
  char none[8] = "kept";
  EXPECT_EQ(ReadProfileString(path, "S", nullptr, none, sizeof none), 0u);
  EXPECT_STREQ(none, "");
}

TEST_F(LangFileTest, ByteOrderMarkAtTheStartIsSkipped) {
  useLanguageFile("\xEF\xBB\xBF[MAIN]\nCAPTION=Panel\n[INFO]\nKEY=\xEF\xBB\xBFkept\n");
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "Panel");
  EXPECT_STREQ(LangText("INFO", "KEY"), "\xEF\xBB\xBFkept");  // a value's bytes stay as they are
  useLanguageFile("\xEF\xBB\xBF\xEF\xBB\xBF[MAIN]\nCAPTION=Panel\n");  // one mark only
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "");
  useLanguageFile("\xEF\xBB[MAIN]\nCAPTION=Panel\n");  // not a mark
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "");
  useLanguageFile("\xEF\xBB\xBF");
  EXPECT_STREQ(LangText("MAIN", "CAPTION"), "");
}

}  // namespace
}  // namespace vornik::test
