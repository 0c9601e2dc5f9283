#include <gmock/gmock.h>
#include <sys/stat.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "info/firmware_download.h"
#include "link/port_io.h"
#include "sim_fixture.h"
#include "tests/support/tapped_device.h"

namespace vornik::test {
namespace {

namespace fs = std::filesystem;
using devsim::test::Bytes;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

const std::vector<uint8_t> kAnnounce = {0x1B, 0xA5, 0x00, 0x04, 0x50, 0xE0, 0x82, 0x05};
const std::vector<uint8_t> kEcpAnnounce = {0x1B, 0xA5, 0x00, 0x04, 0x40, 0xE0, 0x82, 0x05};
const std::vector<uint8_t> kAnnounceAnswer = {0x1B, 0xA5, 0x00, 0x05, 0x50, 0xE0, 0x82, 0x05, 0x00};

// Records what the download reports; its pauses still pass on the clock.
class RecordingProgress : public FirmwareProgress {
 public:
  void transferStarting() override { events.push_back("start"); }
  void blockSent(uint64_t sent, int percent) override {
    events.push_back("block " + std::to_string(sent) + " " + std::to_string(percent));
    if (onBlock)
      onBlock(sent);
  }
  void writingComplete() override { events.push_back("complete"); }
  void pause(uint32_t ms) override {
    pauses.push_back(ms);
    FirmwareProgress::pause(ms);
  }

  std::vector<std::string> events;
  std::vector<uint32_t> pauses;
  std::function<void(uint64_t)> onBlock;
};

class FirmwareDownloadTest : public devsim::test::SimTest {
 protected:
  FirmwareDownloadTest() {
    char pattern[] = "/tmp/vornik-firmware-XXXXXX";
    dir = mkdtemp(pattern);
  }
  ~FirmwareDownloadTest() override { fs::remove_all(dir); }

  // A file of `size` bytes that differ from block to block.
  std::string image(size_t size, const std::string& name = "image.bin") {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
      bytes[i] = uint8_t(i * 7 + i / 4096);
    const std::string path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(size));
    return path;
  }
  static uint32_t checksum(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes(count);
    in.read(bytes.data(), std::streamsize(count));
    return std::accumulate(bytes.begin(), bytes.end(), 0u,
                           [](uint32_t sum, char c) { return sum + uint8_t(c); });
  }

  // Lets the device's line go quiet, so it accounts the image it took.
  const devsim::FirmwareRecord& received() {
    letLineGoQuiet();
    return sim.model.content().firmware;
  }
  void letLineGoQuiet() {
    fake.clock.now += devsim::kImageQuietMs;
    sim.model.settle(now());
  }

  void useScripted(int32_t kind) {
    Connection.PortKind = kind;
    fake.devices.add(PortNameTable[size_t(kind)], scripted.factory());
  }
  // The device behind a tap whose write limits come from `limits` in turn (then no limit).
  void useTappedSimulator(int32_t kind) {
    Connection.PortKind = kind;
    tap.onWrite = [this](std::span<const uint8_t> bytes) {
      if (limits.empty())
        return bytes.size();
      const size_t limit = limits.front();
      limits.pop_front();
      return limit;
    };
    fake.devices.add(PortNameTable[size_t(kind)], tap.wrap(sim.factory()));
  }

  fs::path dir;
  RecordingProgress progress;
  platform::ScriptedDevice scripted;
  TappedDevice tap;
  std::deque<size_t> limits;
};

TEST_F(FirmwareDownloadTest, ImageReachesTheDeviceUnchangedOverEveryConnection) {
  const std::string path = image(10000);
  const std::vector<std::function<void()>> connections = {
      [this] { usePort(kPortLpt1); },
      [this] { useUsbPipes(); },
      [this] { usePort(kPortEcp1); },
  };
  uint32_t images = 0;
  for (const auto& useConnection : connections) {
    useConnection();
    progress.events.clear();
    const auto download = Connection.PortKind == kPortEcp1 ? DownloadFirmwareEcp : DownloadFirmware;
    EXPECT_EQ(download(path, progress), FirmwareResult::kCompleted);
    EXPECT_THAT(progress.events, ElementsAre("start", "block 4096 40", "block 8192 81",
                                             "block 10000 100", "complete"));
    const auto& firmware = received();
    EXPECT_EQ(firmware.imagesReceived, ++images);
    EXPECT_EQ(firmware.lastImageSize, 10000u);
    EXPECT_EQ(firmware.lastImageChecksum, checksum(path, 10000));
  }
}

TEST_F(FirmwareDownloadTest, ImageGoesInBlocksOf4096AfterTheAnnouncesAnswer) {
  struct Case {
    size_t size;
    std::vector<size_t> blocks;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {4097, {4096, 1}, {"start", "block 4096 99", "block 4097 100", "complete"}},
      {0, {}, {"start", "complete"}},
  };
  for (const Case& c : cases) {
    scripted = {};
    progress = {};
    useScripted(kPortLpt1);
    scripted.answers.push_back(kAnnounceAnswer);
    const std::string path = image(c.size);
    EXPECT_EQ(DownloadFirmware(path, progress), FirmwareResult::kCompleted);
    ASSERT_EQ(scripted.writes.size(), c.blocks.size() + 1);
    EXPECT_EQ(scripted.writes[0], kAnnounce);
    std::vector<uint8_t> sent;
    for (size_t i = 0; i < c.blocks.size(); ++i) {
      EXPECT_EQ(scripted.writes[i + 1].size(), c.blocks[i]);
      sent.insert(sent.end(), scripted.writes[i + 1].begin(), scripted.writes[i + 1].end());
    }
    EXPECT_EQ(std::accumulate(sent.begin(), sent.end(), 0u), checksum(path, c.size));
    EXPECT_THAT(scripted.readSizes, ElementsAre(9u));
    EXPECT_EQ(progress.events, c.events);
    EXPECT_THAT(progress.pauses, ElementsAre(500u, 5000u, 40000u));
  }
}

TEST_F(FirmwareDownloadTest, UnansweredAnnounceIsRepeatedAfterSixSecondsAndThenAnyNineBytesDo) {
  struct Case {
    std::vector<uint8_t> first, second;
    FirmwareResult result;
  };
  const std::vector<uint8_t> nineZeros(9, 0x00);
  const Case cases[] = {
      {{}, nineZeros, FirmwareResult::kCompleted},
      {nineZeros, nineZeros, FirmwareResult::kCompleted},  // the first must start with 1B
      {Bytes({0x1B, 0xA5, 0, 5, 0x50, 0xE0, 0x82, 5}),
       Bytes({0x1B, 0xA5, 0, 5, 0x50, 0xE0, 0x82, 5}),
       FirmwareResult::kFailed},  // eight bytes are never enough
  };
  for (const Case& c : cases) {
    scripted = {};
    progress = {};
    fake.debug.lines.clear();
    useScripted(kPortLpt1);
    scripted.answers = {c.first, c.second};
    EXPECT_EQ(DownloadFirmware(image(100), progress), c.result);
    EXPECT_EQ(scripted.writes.size(), c.result == FirmwareResult::kCompleted ? 3u : 2u);
    EXPECT_EQ(scripted.writes[0], kAnnounce);
    EXPECT_EQ(scripted.writes[1], kAnnounce);
    EXPECT_THAT(scripted.readSizes, ElementsAre(9u, 9u));
    const std::vector<uint32_t> announcing = {500, 6000, 500};
    EXPECT_TRUE(std::equal(announcing.begin(), announcing.end(), progress.pauses.begin()));
    EXPECT_THAT(fake.debug.lines, testing::Contains("FwUp: Failed to read response \r"));
  }
}

TEST_F(FirmwareDownloadTest, EcpDeviceIsSetUpOnOneHandleAndNothingIsRead) {
  for (bool refused : {false, true}) {
    scripted = {};
    scripted.failControls = refused;  // a refusal is only traced
    progress = {};
    fake.debug.lines.clear();
    fake.devices.opens.clear();
    useScripted(kPortEcp1);
    EXPECT_EQ(DownloadFirmwareEcp(image(5000), progress), FirmwareResult::kCompleted);

    ASSERT_EQ(fake.devices.opens.size(), 1u);
    EXPECT_EQ(fake.devices.opens[0].name, "\\\\.\\HarnEcp1");
    EXPECT_EQ(fake.devices.opens[0].access, unsigned(platform::kAccessWrite));
    EXPECT_EQ(fake.devices.opens[0].share, unsigned(platform::kShareNone));
    EXPECT_THAT(scripted.calls, ElementsAre("C", "C", "C", "W", "W", "W"));
    ASSERT_EQ(scripted.controls.size(), 3u);
    EXPECT_EQ(scripted.controls[0].code, kEcpSetHardwareMethod);
    EXPECT_THAT(scripted.controls[0].input, ElementsAre(0x00));
    EXPECT_EQ(scripted.controls[1].code, kEcpSetMode);
    EXPECT_THAT(scripted.controls[1].input, ElementsAre(0x10));
    EXPECT_EQ(scripted.controls[2].code, kEcpSetDirection);
    EXPECT_THAT(scripted.controls[2].input, ElementsAre(0x01, 0x00, 0x00, 0x00));
    EXPECT_EQ(scripted.writes[0], kEcpAnnounce);
    EXPECT_EQ(scripted.writes[1].size(), 4096u);
    EXPECT_EQ(scripted.writes[2].size(), 904u);
    EXPECT_THAT(progress.pauses, ElementsAre(5000u, 40000u));
    EXPECT_EQ(fake.debug.lines.front(), " >> OnUpdate4NtLpt()  <<<\r");
    const std::vector<std::string> refusals = {
        "[Error: Device can't be set to the H/W mode(Method) you want.]",
        "[Error: Mode has not been changed.]", "[Error: Direction has not been changed.]"};
    for (const std::string& text : refusals)
      EXPECT_EQ(std::count(fake.debug.lines.begin(), fake.debug.lines.end(), text),
                refused ? 1 : 0);
  }
}

TEST_F(FirmwareDownloadTest, PartlyTakenBlockGetsTheRestOrEndsTheDownload) {
  struct Case {
    std::deque<size_t> limits;  // announce, first block, follow-ups
    FirmwareResult result;
    std::vector<uint32_t> pausesAfterFirstBlock;
  };
  const Case cases[] = {
      {{8, 3000}, FirmwareResult::kCompleted, {1000}},
      {{8, 3000, 0}, FirmwareResult::kCompleted, {1000, 1000}},
      {{8, 3000, 0, 0}, FirmwareResult::kFailed, {1000, 1000}},
      {{8, 3000, 500}, FirmwareResult::kFailed, {1000}},  // a follow-up that took some: no third
  };
  const std::string path = image(6000);
  for (const Case& c : cases) {
    progress = {};
    fake.debug.lines.clear();
    limits = c.limits;
    useTappedSimulator(kPortLpt1);
    const uint32_t before = sim.model.content().firmware.imagesReceived;
    EXPECT_EQ(DownloadFirmware(path, progress), c.result);
    EXPECT_THAT(fake.debug.lines, testing::Contains("FwUp: Data written - 3000 \r"));
    // 500 after the announce and 5000 before the first block come first.
    const std::vector<uint32_t> after(
        progress.pauses.begin() + 2,
        progress.pauses.begin() + 2 + ptrdiff_t(c.pausesAfterFirstBlock.size()));
    EXPECT_EQ(after, c.pausesAfterFirstBlock);
    if (c.result == FirmwareResult::kCompleted) {
      EXPECT_EQ(received().imagesReceived, before + 1);
      EXPECT_EQ(received().lastImageSize, 6000u);
      EXPECT_EQ(received().lastImageChecksum, checksum(path, 6000));
    } else {
      EXPECT_THAT(progress.events, ElementsAre("start"));
    }
    letLineGoQuiet();
  }
}

// The size is taken once: a file that shrinks during the download ends it instead of
// sending empty blocks for ever, and one that grows still goes at the size it had.
TEST_F(FirmwareDownloadTest, FileThatChangesDuringTheDownloadGoesAtMostAtItsFirstSize) {
  usePort(kPortLpt1);
  const std::string path = image(10000);
  const uint32_t original = checksum(path, 10000);

  progress.onBlock = [&](uint64_t) { fs::resize_file(path, 100); };
  EXPECT_EQ(DownloadFirmware(path, progress), FirmwareResult::kFailed);
  EXPECT_THAT(progress.events, ElementsAre("start", "block 4096 40"));
  EXPECT_THAT(fake.debug.lines, testing::Contains("FwUp: File ended at 4096 of 10000 bytes \r"));
  EXPECT_EQ(received().lastImageSize, 4096u);  // what the device got before the end

  image(10000);
  progress = {};
  progress.onBlock = [&](uint64_t) { fs::resize_file(path, 20000); };
  EXPECT_EQ(DownloadFirmware(path, progress), FirmwareResult::kCompleted);
  EXPECT_EQ(received().lastImageSize, 10000u);
  EXPECT_EQ(received().lastImageChecksum, original);
}

TEST_F(FirmwareDownloadTest, FileThatIsNotARegularReadableFileSendsNothing) {
  usePort(kPortLpt1);
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {(dir / "missing").string(), dir.string(), fifo}) {
    EXPECT_FALSE(FirmwareFileSize(path).has_value()) << path;
    EXPECT_EQ(DownloadFirmware(path, progress), FirmwareResult::kFileNotOpened) << path;
    EXPECT_EQ(DownloadFirmwareEcp(path, progress), FirmwareResult::kFileNotOpened) << path;
  }
  EXPECT_THAT(requests(), IsEmpty());
  EXPECT_THAT(progress.events, IsEmpty());
  EXPECT_EQ(FirmwareFileSize(image(4097)).value_or(0), 4097u);
}

// Every fault of the device ends the download within its pauses and time-outs, on both
// ways of sending; the device accounts an image only when it got the whole file.
TEST_F(FirmwareDownloadTest, EveryDeviceFaultEndsTheDownloadAndNoWrongImageIsTaken) {
  struct Case {
    int32_t kind;
    devsim::Fault fault;
    FirmwareResult result;
    bool imageTaken;
    const char* trace;
  };
  using devsim::Fault;
  constexpr auto kFailed = FirmwareResult::kFailed, kCompleted = FirmwareResult::kCompleted;
  const Case cases[] = {
      {kPortLpt1, Fault::kSilent, kFailed, false, "FwUp: Failed to read response \r"},
      {kPortLpt1, Fault::kBusy, kFailed, false, "Can not open the port: LPT1 \n"},
      {kPortLpt1, Fault::kShortAnswer, kFailed, false, "FwUp: Failed to read response \r"},
      {kPortLpt1, Fault::kShortWrite, kFailed, false, nullptr},
      // The device drops the image; no block is answered, so the program cannot know.
      {kPortLpt1, Fault::kDropTransfer, kCompleted, false, "FwUp: Data written - 0 \r"},
      {kPortLpt1, Fault::kLateAnswer, kCompleted, true, nullptr},
      {kPortLpt1, Fault::kWrongClass, kCompleted, true, nullptr},
      {kPortLpt1, Fault::kZeroLength, kCompleted, true, nullptr},
      {kPortEcp1, Fault::kBusy, kFailed, false, "Failed to open port...\r"},
      {kPortEcp1, Fault::kShortWrite, kFailed, false,
       "Error on writing to port. - Update command\r"},
      // A device deaf to the announce is not awaited on the ECP way: it takes no image.
      {kPortEcp1, Fault::kSilent, kCompleted, false, nullptr},
  };
  const std::string path = image(10000);
  for (const Case& c : cases) {
    usePort(c.kind);
    sim.model.setFault(c.fault);
    fake.debug.lines.clear();
    const uint32_t before = received().imagesReceived;
    const uint32_t start = now();
    const auto download = c.kind == kPortEcp1 ? DownloadFirmwareEcp : DownloadFirmware;
    EXPECT_EQ(download(path, progress), c.result) << int(c.fault);
    EXPECT_LT(now() - start, 70000u) << int(c.fault);
    EXPECT_EQ(received().imagesReceived, before + (c.imageTaken ? 1 : 0)) << int(c.fault);
    if (c.imageTaken) {
      EXPECT_EQ(sim.model.content().firmware.lastImageSize, 10000u);
      EXPECT_EQ(sim.model.content().firmware.lastImageChecksum, checksum(path, 10000));
    }
    if (c.trace != nullptr) {
      EXPECT_THAT(fake.debug.lines, testing::Contains(c.trace)) << int(c.fault);
    }
    sim.model.setFault(c.fault, false);
  }
}

}  // namespace
}  // namespace vornik::test
