// The simulator's bridge message reader and handler, fed any byte stream by a client that
// then stops sending and reads on. The server answers each well-formed message with one
// message of the lower-case code, in order, and stops at the first message that is not
// well-formed: an open that is not first (or comes twice), a read or open of the wrong
// size, a control without its code, an unknown code, a message cut short or too large.
// A write answer never counts more bytes than were sent, a read answer never holds more
// than was asked for.
//
// The stream is sent as it came, but for the time-outs of the reads, set to 0: no read
// waits. The device's clock moves a second at each look, so answers are ready at once.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "devsim/bridge_server.h"
#include "fuzz_support.h"
#include "platform/bridge_protocol.h"
#include "platform/fake_platform.h"

namespace {

namespace bridge = platform::bridge;

struct Expected {
  uint8_t code;
  size_t limit;  // largest count (write) or payload (read) the answer may carry
};

// Walks the stream as the protocol defines it: the answers a conforming server sends, and
// the stream with the read time-outs taken out.
std::vector<Expected> Conforming(std::vector<uint8_t>& stream) {
  std::vector<Expected> answers;
  bool opened = false;
  for (size_t at = 0; stream.size() - at >= 5;) {
    const uint8_t code = stream[at];
    const uint32_t length = bridge::GetBe32(&stream[at + 1]);
    if (length > bridge::kMaxPayload || stream.size() - at - 5 < length)
      break;
    uint8_t* payload = &stream[at + 5];
    at += 5 + length;
    if ((code == bridge::kOpen) == opened)
      break;
    if (code == bridge::kOpen && length == 2) {
      answers.push_back({bridge::kOpenAnswer, 1});
      opened = true;
    } else if (code == bridge::kWrite) {
      answers.push_back({bridge::kWriteAnswer, length});
    } else if (code == bridge::kRead && length == 12) {
      std::fill(payload + 4, payload + 12, 0);
      answers.push_back({bridge::kReadAnswer, bridge::GetBe32(payload)});
    } else if (code == bridge::kControl && length >= 4) {
      answers.push_back({bridge::kControlAnswer, 1});
    } else {
      break;
    }
  }
  return answers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> stream(data, data + size);
  const auto expected = Conforming(stream);

  int ends[2];
  FUZZ_CHECK(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0);
  const int client = ends[0], server = ends[1];
  ::fcntl(server, F_SETFL, O_NONBLOCK);
  // The server may stop reading at any point: the client writes and reads at once.
  std::thread writer([&] {
    platform::WriteAll(client, stream.data(), stream.size(), std::nullopt);
    ::shutdown(client, SHUT_WR);
  });
  std::vector<bridge::Message> answers;
  std::thread reader([&] {
    bridge::Message message;
    while (bridge::ReceiveMessage(client, message, std::nullopt))
      answers.push_back(message);
  });
  platform::FakePlatform fake;
  fake.clock.step = 1000;
  devsim::DeviceModel model;
  devsim::BridgeServer bridgeServer(model, nullptr, {});
  bridgeServer.serve(server, 1);
  ::close(server);
  writer.join();
  reader.join();
  ::close(client);

  FUZZ_CHECK(answers.size() == expected.size());
  for (size_t i = 0; i < answers.size(); ++i) {
    const auto& answer = answers[i];
    FUZZ_CHECK(answer.code == expected[i].code);
    switch (answer.code) {
      case bridge::kOpenAnswer:
      case bridge::kControlAnswer:
        FUZZ_CHECK(answer.payload.size() == 1);
        break;
      case bridge::kWriteAnswer:
        FUZZ_CHECK(answer.payload.size() == 4);
        FUZZ_CHECK(bridge::GetBe32(answer.payload.data()) <= expected[i].limit);
        break;
      case bridge::kReadAnswer:
        FUZZ_CHECK(answer.payload.size() <= expected[i].limit);
        break;
    }
  }
  return 0;
}
