// The POSIX device files against real descriptors: a pseudo-terminal as a silent or
// slow port, and a bridge socket served by a small peer thread.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/bridge_protocol.h"
#include "platform/fd_io.h"
#include "platform/posix_device_files.h"

namespace platform {
namespace {

using std::chrono::milliseconds;

class Pty : public testing::Test {
 protected:
  Pty() {
    char name[256];
    termios raw{};
    cfmakeraw(&raw);  // bytes reach a reader as they come, not line by line
    EXPECT_EQ(openpty(&master_, &slave_, name, &raw, nullptr), 0);
    path_ = name;
  }
  ~Pty() override {
    ::close(master_);
    ::close(slave_);
  }

  // Reads through a freshly opened device and reports how long the read took.
  size_t timedRead(const CommTimeouts* timeouts, uint8_t* buffer, size_t count,
                   milliseconds& elapsed) {
    auto port = devices_.open(path_, kAccessRead | kAccessWrite, kShareNone);
    EXPECT_NE(port, nullptr);
    if (!port)
      return 0;
    if (timeouts)
      port->setTimeouts(*timeouts);
    const auto start = std::chrono::steady_clock::now();
    const size_t got = port->read(buffer, count);
    elapsed = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    return got;
  }

  int master_ = -1;
  int slave_ = -1;
  std::string path_;
  PosixDeviceFiles devices_;
};

constexpr CommTimeouts kLptTimeouts{200, 0, 3000, 0, 5000};

TEST_F(Pty, SilentPortReadGivesUpAfterTheTotalTimeout) {
  uint8_t buffer[10];
  milliseconds elapsed{};
  EXPECT_EQ(timedRead(&kLptTimeouts, buffer, sizeof buffer, elapsed), 0u);
  EXPECT_GE(elapsed.count(), 2900);
  EXPECT_LT(elapsed.count(), 4500);
}

TEST_F(Pty, ReadWithoutTimeoutsStillGivesUpAfterThreeSeconds) {
  uint8_t buffer[10];
  milliseconds elapsed{};
  EXPECT_EQ(timedRead(nullptr, buffer, sizeof buffer, elapsed), 0u);
  EXPECT_GE(elapsed.count(), 2900);
  EXPECT_LT(elapsed.count(), 4500);
}

TEST_F(Pty, ReadEndsOneIntervalAfterTheLastByte) {
  std::thread peer([this] {
    std::this_thread::sleep_for(milliseconds(100));
    ASSERT_EQ(::write(master_, "abc", 3), 3);
  });
  uint8_t buffer[10];
  milliseconds elapsed{};
  EXPECT_EQ(timedRead(&kLptTimeouts, buffer, sizeof buffer, elapsed), 3u);
  peer.join();
  EXPECT_EQ(std::memcmp(buffer, "abc", 3), 0);
  EXPECT_GE(elapsed.count(), 280);
  EXPECT_LT(elapsed.count(), 1500);
}

// The discard before a request: it takes what the device already sent and never waits.
TEST_F(Pty, ReadThatReturnsAtOnceTakesWhatIsThereWithoutWaiting) {
  constexpr CommTimeouts kReturnAtOnce{kReadIntervalReturnAtOnce, 0, 0, 0, 0};
  ASSERT_EQ(::write(master_, "abc", 3), 3);
  std::this_thread::sleep_for(milliseconds(50));  // the bytes reach the device's side
  uint8_t buffer[10];
  for (const size_t expected : {3u, 0u}) {
    milliseconds elapsed{};
    EXPECT_EQ(timedRead(&kReturnAtOnce, buffer, sizeof buffer, elapsed), expected);
    EXPECT_LT(elapsed.count(), 100);
  }
}

TEST_F(Pty, UnsharedOpenKeepsOthersOut) {
  auto first = devices_.open(path_, kAccessWrite, kShareNone);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(devices_.open(path_, kAccessWrite, kShareNone), nullptr);
  first.reset();
  EXPECT_NE(devices_.open(path_, kAccessWrite, kShareNone), nullptr);
}

// Whatever names the port (VORNIK_USB_PORT, vornikctl's --device), a regular file would take
// the device's request bytes: only a character device or a socket opens.
TEST_F(Pty, OnlyACharacterDeviceOpensAsAPort) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "not-a-port-XXXXXX").string();
  const fs::path folder = ::mkdtemp(pattern.data());
  const fs::path file = folder / "file", fifo = folder / "fifo";
  std::ofstream(file) << "kept";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(file, folder / "link-to-file");
  fs::create_symlink(path_, folder / "link-to-port");
  const std::pair<fs::path, bool> cases[] = {
      {path_, true}, {folder / "link-to-port", true},  {file, false}, {folder, false},
      {fifo, false}, {folder / "link-to-file", false},
  };
  for (const auto& [path, opens] : cases) {
    auto port = devices_.open(path, kAccessRead | kAccessWrite, kShareRead | kShareWrite);
    EXPECT_EQ(port != nullptr, opens) << path;
    if (port)
      port->write(reinterpret_cast<const uint8_t*>("x"), 1);
  }
  std::ifstream in(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");
  fs::remove_all(folder);
}

TEST(PosixDeviceFiles, MissingDeviceDoesNotOpen) {
  PosixDeviceFiles devices;
  EXPECT_EQ(devices.open("/nonexistent/port", kAccessWrite, kShareNone), nullptr);
  EXPECT_EQ(devices.open("LPT9", kAccessWrite, kShareNone), nullptr);
}

// The parallel printer port has no readiness of its own: it always polls ready and refuses
// a busy transfer with EAGAIN. An eventfd whose counter cannot take the value behaves the
// same way for a write, which must still give up at its deadline.
TEST(FdIo, WriteRefusedByAPortThatPollsReadyGivesUpAtTheDeadline) {
  const int fd = ::eventfd(1, EFD_NONBLOCK | EFD_CLOEXEC);
  ASSERT_GE(fd, 0);
  const uint64_t tooMuch = UINT64_MAX - 1;
  EXPECT_EXIT(
      {
        ::alarm(5);
        const size_t written = WriteAll(fd, reinterpret_cast<const uint8_t*>(&tooMuch),
                                        sizeof tooMuch, MsFromNow(200));
        std::exit(written == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  ::close(fd);
}

// The ECP port driver never reports readiness through poll unless an interrupt came; a
// transfer must be tried all the same and go through as soon as the port takes it.
TEST(FdIo, TransferIsTriedOnAPortThatNeverPollsReady) {
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);  // its empty read end never polls readable
  int refusals = 2;
  const auto start = SteadyClock::now();
  const ssize_t n = TransferWhenReady(pipeFds[0], POLLIN, MsFromNow(3000), [&]() -> ssize_t {
    if (refusals-- > 0) {
      errno = EAGAIN;
      return -1;
    }
    return 5;
  });
  EXPECT_EQ(n, 5);
  EXPECT_LT(SteadyClock::now() - start, std::chrono::milliseconds(1000));
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

// A bridge peer that serves one connection: it accepts the open unless told to refuse,
// takes every write, answers the first read with `answer` (or, silent, never answers a read)
// and controls with success.
class BridgePeer {
 public:
  explicit BridgePeer(bool refuse, std::vector<uint8_t> answer, bool silent = false)
      : path_(std::filesystem::temp_directory_path() /
              ("vornik-bridge-test-" + std::to_string(::getpid()) + ".sock")) {
    std::filesystem::remove(path_);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path_.c_str());
    EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(listener_, 1), 0);
    thread_ = std::thread([this, refuse, answer, silent] { serve(refuse, answer, silent); });
  }
  ~BridgePeer() {
    thread_.join();
    ::close(listener_);
    std::filesystem::remove(path_);
  }
  std::string path() const { return path_.string(); }

  std::vector<uint8_t> written;
  std::vector<uint8_t> readRequest;
  std::vector<uint8_t> controlRequest;

 private:
  void serve(bool refuse, const std::vector<uint8_t>& answer, bool silent) {
    const int fd = ::accept(listener_, nullptr, nullptr);
    bridge::Message message;
    while (bridge::ReceiveMessage(fd, message, std::nullopt)) {
      std::vector<uint8_t> reply;
      switch (message.code) {
        case bridge::kOpen:
          reply.push_back(refuse ? 1 : 0);
          bridge::SendMessage(fd, bridge::kOpenAnswer, reply, std::nullopt);
          if (refuse) {
            ::close(fd);
            return;
          }
          break;
        case bridge::kWrite:
          written = message.payload;
          bridge::PutBe32(reply, uint32_t(message.payload.size()));
          bridge::SendMessage(fd, bridge::kWriteAnswer, reply, std::nullopt);
          break;
        case bridge::kRead:
          readRequest = message.payload;
          if (!silent)
            bridge::SendMessage(fd, bridge::kReadAnswer, answer, std::nullopt);
          break;
        case bridge::kControl:
          controlRequest = message.payload;
          reply.push_back(1);
          bridge::SendMessage(fd, bridge::kControlAnswer, reply, std::nullopt);
          break;
      }
    }
    ::close(fd);
  }

  std::filesystem::path path_;
  int listener_ = -1;
  std::thread thread_;
};

TEST(Bridge, SocketPathOpensAsADeviceAndCarriesEveryRequest) {
  BridgePeer peer(false, {0x1B, 0xA4, 0x00, 0x06, 0x50});
  PosixDeviceFiles devices;
  {
    auto device = devices.open(peer.path(), kAccessRead | kAccessWrite, kShareNone);
    ASSERT_NE(device, nullptr);
    const uint8_t request[] = {0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0};
    EXPECT_EQ(device->write(request, sizeof request), sizeof request);
    device->setTimeouts(kLptTimeouts);
    uint8_t buffer[10] = {};
    EXPECT_EQ(device->read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(buffer[3], 0x06);
    const uint8_t mode = 0x10;
    EXPECT_TRUE(device->control(0x182004, &mode, 1));
  }
  EXPECT_EQ(peer.written, std::vector<uint8_t>({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0}));
  // count 10, interval 200, total 3000, big-endian
  EXPECT_EQ(peer.readRequest, std::vector<uint8_t>({0, 0, 0, 10, 0, 0, 0, 200, 0, 0, 0x0B, 0xB8}));
  EXPECT_EQ(peer.controlRequest, std::vector<uint8_t>({0x00, 0x18, 0x20, 0x04, 0x10}));
}

TEST(Bridge, RefusedOpenGivesNoDevice) {
  BridgePeer peer(true, {});
  PosixDeviceFiles devices;
  EXPECT_EQ(devices.open(peer.path(), kAccessWrite, kShareNone), nullptr);
}

std::vector<SteadyClock::time_point> hookRuns;

void RecordHookRun() {
  hookRuns.push_back(SteadyClock::now());
}

// A silent device holds a read for its whole time-out, on a port as over the bridge (the
// server's time-out and the client's grace), and the wait hook runs all the while.
TEST_F(Pty, SilentDeviceReadWaitsItsWholeTimeoutRunningTheWaitHook) {
  BridgePeer peer(false, {}, true);
  const struct {
    std::string path;
    CommTimeouts timeouts;
    int64_t atLeastMs;
  } rows[] = {
      {path_, {0, 0, 300, 0, 0}, 300},
      {peer.path(), {0, 0, 100, 0, 0}, 2100},
  };
  ServiceSet services = Services();
  services.waitHook = RecordHookRun;
  ScopedServices scope(services);
  for (const auto& row : rows) {
    auto device = devices_.open(row.path, kAccessRead | kAccessWrite, kShareNone);
    ASSERT_NE(device, nullptr) << row.path;
    device->setTimeouts(row.timeouts);
    hookRuns.clear();
    uint8_t buffer[10];
    const auto start = SteadyClock::now();
    EXPECT_EQ(device->read(buffer, sizeof buffer), 0u) << row.path;
    const auto elapsed = std::chrono::duration_cast<milliseconds>(SteadyClock::now() - start);
    EXPECT_GE(elapsed.count(), row.atLeastMs) << row.path;
    EXPECT_GE(int64_t(hookRuns.size()), elapsed.count() / kWaitSliceMs) << row.path;
  }
}

}  // namespace
}  // namespace platform
