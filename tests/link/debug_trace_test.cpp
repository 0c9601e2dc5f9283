#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "link/debug_trace.h"
#include "link_fixture.h"
#include "platform/posix_services.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_umask.h"

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

// The real trace, in a child: VORNIK_DEBUG is read once per process. Returns what the child
// wrote on stderr.
std::string TraceInChild(const std::string& target, const std::string& errors) {
  InChild([&] {
    const ScopedUmask openMask(0);
    setenv("VORNIK_DEBUG", target.c_str(), 1);
    std::freopen(errors.c_str(), "w", stderr);
    platform::PosixServices().debug->write("Name = ANNA\r");
    platform::PosixServices().debug->write("Number = 5551234\r");
    std::fflush(stderr);  // the child ends with _exit
    return 0;
  });
  return ReadFileText(errors);
}

TEST(DebugTraceFile, IsPrivateAndNeverWrittenThroughALink) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "trace-XXXXXX").string();
  const fs::path folder = ::mkdtemp(pattern.data());
  const std::string trace = folder / "trace.txt", errors = folder / "stderr";
  EXPECT_EQ(TraceInChild(trace, errors), "");
  EXPECT_EQ(ReadFileText(trace), "Name = ANNA\rNumber = 5551234\r");
  EXPECT_EQ(ModeOf(trace.c_str()), 0600);

  const std::string victim = folder / "victim", link = folder / "link";
  std::ofstream(victim) << "precious";
  fs::create_symlink(victim, link);
  EXPECT_EQ(TraceInChild(link, errors), "VORNIK_DEBUG: cannot append to " + link +
                                            ": Too many levels of symbolic links; no trace is "
                                            "written\n");
  EXPECT_EQ(ReadFileText(victim), "precious");
  fs::remove_all(folder);
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
