// The real program under abuse: readers that hang up, many clients at once, a client that
// never reads, huge messages with the log on, a state save that fails or is cut short by
// kill -9. The device keeps serving everyone else, and loses nothing it was told to keep.
#include <fcntl.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iterator>
#include <latch>
#include <memory>
#include <mutex>
#include <thread>

#include "bridge_client.h"
#include "devsim/bridge_server.h"
#include "devsim/state_file.h"
#include "tests/support/child_process.h"
#include "tests/support/scoped_umask.h"

namespace devsim::test {
namespace {

namespace bridge = platform::bridge;
using std::chrono::milliseconds;
using testing::HasSubstr;

const std::vector<uint8_t> kInquiryAnswer = {0x1B, 0xA4, 0x00, 0x06, 0x50,
                                             0xE0, 0x82, 0xC0, 0x00, 0x02};
const std::vector<uint8_t> kGetSystemSetup = {0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x41};
constexpr size_t kDiscardSizeInAnswer = 16;  // a factory device discards 10 mm

// A system setup write with every field byte `value`.
std::vector<uint8_t> SetSystemSetup(uint8_t value) {
  constexpr uint8_t kHead[] = {0x1B, 0xA4, 0x00, 0x1B, 0x50, 0xE0, 0x82, 0xC2, 0x41};
  std::vector<uint8_t> set(31, value);
  std::copy(std::begin(kHead), std::end(kHead), set.begin());
  return set;
}

// A client whose open the device took. Readers that hung up free their slots within a
// moment, not at once: a refused open is tried again for a while.
std::unique_ptr<RawClient> OpenedClient(const std::string& socket) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    auto client = std::make_unique<RawClient>(socket);
    if (client->open())
      return client;
    std::this_thread::sleep_for(milliseconds(100));
  }
  return nullptr;
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// The server in this process, where a test can give it a short wait for the open.
class ServerInProcess {
 public:
  ServerInProcess(const std::string& socket, uint32_t openWithinMs)
      : server_(model_, nullptr, {}, openWithinMs) {
    std::string error;
    EXPECT_TRUE(server_.listen(socket, error)) << error;
    thread_ = std::thread([this] { server_.run(); });
  }
  ~ServerInProcess() {
    server_.requestStop();
    thread_.join();
  }

 private:
  DeviceModel model_;
  BridgeServer server_;
  std::thread thread_;
};

// True when the server closed the client's connection (end of stream, nothing waiting).
bool ClosedByServer(const RawClient& client) {
  char byte;
  return ::recv(client.fd(), &byte, 1, MSG_DONTWAIT) == 0;
}

TEST_F(BridgeTest, ConnectionsThatNeverOpenAreClosedSoOthersGetIn) {
  constexpr uint32_t kShortOpenWaitMs = 300;
  ServerInProcess devsim(socket, kShortOpenWaitMs);
  auto opened = OpenedClient(socket);
  ASSERT_TRUE(opened);
  std::vector<std::unique_ptr<RawClient>> idle;
  for (size_t i = 1; i < kMaxConnections; ++i)
    idle.push_back(std::make_unique<RawClient>(socket));
  EXPECT_FALSE(RawClient(socket).open()) << "every slot is taken";

  std::this_thread::sleep_for(milliseconds(kShortOpenWaitMs + 500));
  for (const auto& client : idle)
    EXPECT_TRUE(ClosedByServer(*client));
  EXPECT_TRUE(OpenedClient(socket)) << "a slot came free";
  const auto answer = opened->request(bridge::kRead, RawClient::readRequest(10, 0, 50));
  EXPECT_TRUE(answer && answer->code == bridge::kReadAnswer) << "an open connection stays";
}

TEST_F(BridgeTest, SocketIsThisUsersAloneWhateverTheUmask) {
  const vornik::test::ScopedUmask openMask(0);
  std::filesystem::permissions(std::filesystem::path(socket).parent_path(),
                               std::filesystem::perms(0711));
  ServerInProcess devsim(socket, kOpenWithinMs);
  EXPECT_EQ(vornik::test::ModeOf(socket.c_str()), 0600);
  if (::geteuid() != 0)
    GTEST_SKIP() << "another user is needed";
  const int connected = vornik::test::InChild([this] {
    return vornik::test::AsOrdinaryUser([this] {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
      return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 1 : 0;
    });
  });
  EXPECT_EQ(connected, 0) << "another user reached the device";
}

TEST_F(BridgeTest, ReaderThatHangsUpLeavesItsSlotAndTheAnswerToOthers) {
  DevsimProcess devsim(socket);
  // Every slot, taken by readers that would wait ten minutes, but hang up at once.
  for (size_t i = 0; i < kMaxConnections; ++i) {
    RawClient reader(socket);
    if (reader.open())
      reader.send(bridge::kRead, RawClient::readRequest(10, 0, 600000));
  }
  for (int attempt = 0; attempt < 10; ++attempt) {
    {
      const auto reader = OpenedClient(socket);
      ASSERT_TRUE(reader) << attempt;
      ASSERT_TRUE(reader->send(bridge::kRead, RawClient::readRequest(10, 0, 600000)));
    }
    const auto client = OpenedClient(socket);
    ASSERT_TRUE(client) << attempt;
    ASSERT_TRUE(client->request(bridge::kWrite, kInquiry));
    EXPECT_EQ(client->read(10, 0, 3000), kInquiryAnswer) << attempt;
  }

  // A reader that got half of what it asked for, then hung up: those bytes are the next
  // reader's.
  RawClient writer(socket);
  ASSERT_TRUE(writer.open());
  ASSERT_TRUE(writer.request(bridge::kWrite, kInquiry));
  std::this_thread::sleep_for(milliseconds(300));  // the answer is ready
  {
    RawClient reader(socket);
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(reader.send(bridge::kRead, RawClient::readRequest(20, 0, 600000)));
    std::this_thread::sleep_for(milliseconds(300));
  }
  EXPECT_EQ(writer.read(10, 0, 3000), kInquiryAnswer);
}

TEST_F(BridgeTest, ManyClientsAtOnceAreServedOrRefusedWhole) {
  DevsimProcess devsim(socket);
  constexpr int kClients = 40;
  std::latch allTried(kClients);
  std::mutex exchange;  // one exchange at a time: answers go to whoever reads first
  std::atomic<int> opened = 0, whole = 0;
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&] {
      RawClient client(socket);
      const bool open = client.open();
      allTried.arrive_and_wait();
      if (!open)
        return;
      ++opened;
      std::lock_guard lock(exchange);
      if (client.request(bridge::kWrite, kInquiry) && client.read(10, 0, 3000) == kInquiryAnswer)
        ++whole;
    });
  }
  for (auto& client : clients)
    client.join();
  // Every slot but, perhaps, the one of the start-up probe, whose end the server may not
  // have seen yet.
  EXPECT_LE(opened, int(kMaxConnections));
  EXPECT_GE(opened, int(kMaxConnections) - 1);
  EXPECT_EQ(whole, opened.load());
  EXPECT_TRUE(deviceAnswersInquiry());
}

TEST_F(BridgeTest, ClientThatNeverReadsHoldsUpNoOneElse) {
  DevsimProcess devsim(socket);
  RawClient glutton(socket);
  ASSERT_TRUE(glutton.open());
  // Read requests, answered with nothing at once, sent until the server takes no more: its
  // answers have filled the connection.
  std::vector<uint8_t> request = {bridge::kRead, 0, 0, 0, 12};
  const auto read = RawClient::readRequest(1, 0, 0);
  request.insert(request.end(), read.begin(), read.end());
  ::fcntl(glutton.fd(), F_SETFL, O_NONBLOCK);
  size_t sent = 0;
  while (sent < (64u << 20) && ::send(glutton.fd(), request.data(), request.size(), MSG_NOSIGNAL) ==
                                   ssize_t(request.size()))
    sent += request.size();
  ASSERT_LT(sent, 64u << 20) << "the server kept reading";

  EXPECT_TRUE(deviceAnswersInquiry());
  EXPECT_TRUE(deviceAnswersInquiry());
}

TEST_F(BridgeTest, HugeMessagesWithTheLogOnHoldUpNoOneAndMakeOneLineEach) {
  const std::string log = folder.file("traffic.log");
  DevsimProcess devsim(socket, {"--log", log});
  constexpr size_t kFloodBytes = 4 << 20;
  std::atomic<bool> flooding = true;
  std::thread flood([&] {
    RawClient client(socket);
    EXPECT_TRUE(client.open());
    for (int i = 0; i < 2; ++i)
      EXPECT_TRUE(client.request(bridge::kWrite, std::vector<uint8_t>(kFloodBytes, 0x1B)));
    flooding = false;
  });
  // Each inquiry is served within the platform's read time-out while the garbage pours in.
  int served = 0;
  while (flooding) {
    EXPECT_TRUE(deviceAnswersInquiry());
    ++served;
  }
  flood.join();
  EXPECT_GT(served, 1);

  RawClient odd(socket);  // a code that would cut a log line short
  ASSERT_TRUE(odd.open());
  odd.sendRaw({0x00, 0, 0, 0, 0});
  EXPECT_FALSE(odd.receive());
  EXPECT_EQ(devsim.stop(), 0);

  // A line for a slice of garbage at most, not one for each byte.
  const std::string text = ReadFileText(log);
  EXPECT_LT(text.size(), 64u * 1024u);
  EXPECT_THAT(text, HasSubstr(" ... (65536 bytes)\n"));
  EXPECT_LT(CountOf(text, " discarded "), 1000u);
  EXPECT_THAT(text, HasSubstr(": malformed message 0x00, closed\n"));
}

TEST_F(BridgeTest, StateThatCannotBeSavedRefusesTheWriteAndSaysWhy) {
  const std::string state = folder.file("device.state");
  const std::string output = folder.file("output.txt");
  const std::string log = folder.file("traffic.log");
  DevsimProcess devsim(socket, {"--state", state, "--log", log}, output);
  std::filesystem::create_directory(state);  // nothing can be saved there now

  RawClient client(socket);
  ASSERT_TRUE(client.open());
  auto written = client.request(bridge::kWrite, SetSystemSetup(7));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->payload, std::vector<uint8_t>({0, 0, 0, 0}));
  // The device kept its setup, and no acknowledgement waits ahead of the next answer.
  ASSERT_TRUE(client.request(bridge::kWrite, kGetSystemSetup));
  auto answer = client.read(32, 0, 3000);
  ASSERT_EQ(answer.size(), 32u);
  EXPECT_EQ(answer[7], 0xC1);
  EXPECT_EQ(answer[kDiscardSizeInAnswer], 10);

  // Once the file can be saved again, so can the write.
  std::filesystem::remove(state);
  written = client.request(bridge::kWrite, SetSystemSetup(7));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->payload, std::vector<uint8_t>({0, 0, 0, 31}));
  EXPECT_EQ(devsim.stop(), 0);
  DeviceContent saved;
  std::string error;
  ASSERT_EQ(LoadState(state, saved, error), LoadResult::kLoaded) << error;
  EXPECT_EQ(saved.systemSetup[6], 7);
  EXPECT_THAT(ReadFileText(output), HasSubstr("vornik-devsim: state not saved: cannot save " +
                                              state + ": Is a directory\n"));
  EXPECT_THAT(ReadFileText(log), HasSubstr("state not saved: cannot save"));
  EXPECT_THAT(ReadFileText(log),
              HasSubstr("write not kept: answered as taking only the bytes before it"));
}

TEST_F(BridgeTest, StateFileIsWholeWhateverMomentTheSimulatorIsKilled) {
  const std::string state = folder.file("device.state");
  for (int round = 0; round < 8; ++round) {
    DevsimProcess devsim(socket, {"--state", state});
    RawClient client(socket);
    ASSERT_TRUE(client.open());
    ASSERT_TRUE(client.request(bridge::kWrite, SetSystemSetup(0)));  // a state is saved
    std::atomic<bool> writing = true;
    std::thread writer([&] {
      for (uint8_t value = 1; writing; ++value)
        if (!client.request(bridge::kWrite, SetSystemSetup(value)))
          return;
    });
    std::this_thread::sleep_for(milliseconds(40 + 25 * round));
    devsim.stop(SIGKILL);
    writing = false;
    writer.join();
    std::filesystem::remove(socket);  // left behind by the killed simulator

    DeviceContent content;
    std::string error;
    EXPECT_EQ(LoadState(state, content, error), LoadResult::kLoaded) << round << ": " << error;
  }
}

}  // namespace
}  // namespace devsim::test
