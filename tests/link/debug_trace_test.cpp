#include <gmock/gmock.h>

#include "link/debug_trace.h"
#include "link_fixture.h"

namespace vornik::test {
namespace {

using testing::ElementsAre;

TEST_F(LinkTest, HexDumpOfTenBytesIsTwoLinesWithZeroFillers) {
  const auto bytes = Bytes({'A', 'b', 0x00, 0x7F, ' ', '~', 0x1B, 0xFF, '9', 0x0A});
  DebugHexDump(bytes.data(), bytes.size());
  EXPECT_THAT(traces(), ElementsAre("0000: 41 62 00 7F 20 7E 1B FF Ab.. ~..\r\n",
                                    "0x08: 39 0A 00 00 00 00 00 00 9.\r\n"));
}

TEST_F(LinkTest, HexDumpOfNothingWritesNothing) {
  DebugHexDump(nullptr, 0);
  EXPECT_TRUE(traces().empty());
}

TEST_F(LinkTest, TraceIsCutToItsLineAndEndsInACarriageReturn) {
  const std::string longText(300, 'x');
  DebugTrace("%s", longText.c_str());
  ASSERT_EQ(traces().size(), 1u);
  EXPECT_EQ(traces()[0], std::string(255, 'x') + "\r");
}

TEST(TrimTrailingBlanks, RemovesOnlyTheTrailingBlanks) {
  char twoBlanks[] = "NAME  ";
  EXPECT_STREQ(TrimTrailingBlanks(twoBlanks), "NAME");
  char inner[] = "A B";
  EXPECT_STREQ(TrimTrailingBlanks(inner), "A B");
  char blanks[] = "    ";
  EXPECT_STREQ(TrimTrailingBlanks(blanks), "");
  char empty[] = "";
  EXPECT_STREQ(TrimTrailingBlanks(empty), "");
}

}  // namespace
}  // namespace vornik::test
