// The simulator's traffic log: what it writes for each event, runs of discarded bytes, and
// its size limit.
#include <gmock/gmock.h>

#include "devsim/traffic_log.h"
#include "platform/fake_platform.h"
#include "temp_folder.h"
#include "tests/support/scoped_umask.h"

namespace devsim::test {
namespace {

using testing::ElementsAre;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

class TrafficLogTest : public testing::Test {
 protected:
  TrafficLogTest() { fake.clock.step = 0; }

  platform::FakePlatform fake;
  TempFolder folder;
  std::string path = folder.file("traffic.log");
  DeviceModel model;
};

TEST_F(TrafficLogTest, LinesWaitForTheFlushAndRunsOfDiscardedBytesMakeOneLine) {
  TrafficLog log(path);
  const uint8_t stray[] = {0x1B};
  for (int i = 0; i < 1000; ++i)
    log.traffic(Traffic::kRejected, stray, model);
  fake.clock.now = 5;
  const uint8_t frame[] = {0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0};
  log.traffic(Traffic::kRequest, frame, model);
  const uint8_t garbage[] = {0x00, 0x41, 0x42};
  log.traffic(Traffic::kRejected, garbage, model);
  log.traffic(Traffic::kRejected, stray, model);
  EXPECT_EQ(ReadFileText(path), "");

  log.flush();
  std::string run = "         0 discarded 1B";
  for (size_t i = 1; i < kDiscardedBytesShown; ++i)
    run += " 1B";
  EXPECT_THAT(Lines(ReadFileText(path)),
              ElementsAre(run + " ... (1000 bytes)", "         5 received 1B A4 00 04 50 E0 82 C0",
                          "         5 discarded 00 41 42 1B"));
}

TEST_F(TrafficLogTest, FullLogEndsWithANote) {
  TrafficLog log(path, 200);
  for (int i = 0; i < 10; ++i)
    log.line("connection 1: open access 3 share 0");
  log.flush();
  log.line("connection 1: closed");
  log.flush();
  EXPECT_THAT(Lines(ReadFileText(path)),
              ElementsAre("         0 connection 1: open access 3 share 0",
                          "         0 connection 1: open access 3 share 0",
                          "         0 connection 1: open access 3 share 0",
                          "         0 connection 1: open access 3 share 0",
                          "         0 log full at 188 bytes: nothing more is logged"));
}

// The log holds phonebook names and numbers (platform::OpenPrivateAppend has the rules).
TEST_F(TrafficLogTest, NewLogIsPrivateWhateverTheUmask) {
  const vornik::test::ScopedUmask openMask(0);
  TrafficLog log(path);
  EXPECT_TRUE(log.ok());
  EXPECT_EQ(vornik::test::ModeOf(path.c_str()), 0600);
}

}  // namespace
}  // namespace devsim::test
