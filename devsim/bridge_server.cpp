#include "devsim/bridge_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "devsim/answer_read.h"
#include "devsim/traffic_log.h"
#include "platform/bridge_protocol.h"
#include "platform/fd_io.h"
#include "platform/platform.h"

namespace devsim {
namespace {

namespace bridge = platform::bridge;

uint32_t Tick() {
  return platform::Services().clock->tickCount();
}

// Waits for the device in real time with the model unlocked, so that other connections
// use it meanwhile; a write on any of them wakes the wait early.
class UnlockedWaiter : public ReadWaiter {
 public:
  UnlockedWaiter(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                 const bool& stopping)
      : lock_(lock), changed_(changed), stopping_(stopping) {}
  uint32_t now() override { return Tick(); }
  bool wait(uint32_t ms) override {
    if (!stopping_)
      changed_.wait_for(lock_, std::chrono::milliseconds(ms));
    return !stopping_;
  }

 private:
  std::unique_lock<std::mutex>& lock_;
  std::condition_variable& changed_;
  const bool& stopping_;
};

bool Send(int fd, uint8_t code, std::span<const uint8_t> payload) {
  return bridge::SendMessage(fd, code, payload, platform::MsFromNow(kMessageArrivalMs));
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  if (path.empty() || path.size() >= sizeof address.sun_path)
    return false;
  address = {};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// True when something already answers on the socket at `address`.
bool SocketIsServed(const sockaddr_un& address) {
  const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0)
    return false;
  const bool served =
      ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(probe);
  return served;
}

}  // namespace

BridgeServer::BridgeServer(DeviceModel& model, TrafficLog* log,
                           std::function<void(const DeviceModel&)> onChange)
    : model_(model), log_(log), onChange_(std::move(onChange)), seenRevision_(model.revision()) {
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) == 0) {
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
  }
}

BridgeServer::~BridgeServer() {
  for (int fd : {listener_, wakeRead_, wakeWrite_})
    if (fd >= 0)
      ::close(fd);
}

bool BridgeServer::listen(const std::string& path, std::string& error) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) {
    error = "socket path is empty or too long: " + path;
    return false;
  }
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (!S_ISSOCK(info.st_mode)) {
      error = path + " exists and is not a socket";
      return false;
    }
    if (SocketIsServed(address)) {
      error = path + " is already served";
      return false;
    }
    ::unlink(path.c_str());  // left behind by a simulator that did not stop cleanly
  }
  listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener_ < 0 || wakeRead_ < 0 ||
      ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0) {
    error = "cannot listen at " + path + ": " + std::strerror(errno);
    return false;
  }
  path_ = path;
  return true;
}

void BridgeServer::requestStop() {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void BridgeServer::run() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    // Waking every second lets a firmware image end when its line goes quiet.
    const int ready = ::poll(fds, 2, 1000);
    if (ready < 0 && errno != EINTR)
      break;
    if (ready > 0 && fds[1].revents != 0)
      break;
    if (ready > 0 && (fds[0].revents & POLLIN))
      accept();
    {
      std::lock_guard lock(modelMutex_);
      model_.settle(Tick());
      afterModelCall();
    }
    reapFinished();
  }

  {
    std::lock_guard lock(modelMutex_);
    stopping_ = true;
  }
  modelChanged_.notify_all();
  {
    std::lock_guard lock(connectionsMutex_);
    for (auto& connection : connections_)
      if (!connection.finished)
        ::shutdown(connection.fd, SHUT_RDWR);
  }
  for (auto& connection : connections_)
    connection.thread.join();
  connections_.clear();
  ::close(listener_);
  listener_ = -1;
  ::unlink(path_.c_str());
}

void BridgeServer::accept() {
  const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0)
    return;
  std::lock_guard lock(connectionsMutex_);
  if (connections_.size() >= kMaxConnections) {
    ::close(fd);
    if (log_)
      log_->line("connection refused: too many open");
    return;
  }
  auto& connection = connections_.emplace_back(fd, nextNumber_++);
  connection.thread = std::thread([this, &connection] { serve(connection); });
}

void BridgeServer::reapFinished() {
  std::lock_guard lock(connectionsMutex_);
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (it->finished) {
      it->thread.join();
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

void BridgeServer::afterModelCall() {
  if (model_.revision() == seenRevision_)
    return;
  seenRevision_ = model_.revision();
  if (onChange_)
    onChange_(model_);
}

void BridgeServer::note(const Connection& connection, const std::string& text) {
  if (log_)
    log_->line("connection " + std::to_string(connection.number) + ": " + text);
}

void BridgeServer::serve(Connection& connection) {
  bool opened = false;
  bridge::Message message;
  for (;;) {
    if (!platform::WaitReady(connection.fd, POLLIN, platform::MsFromNow(kConnectionIdleMs)) ||
        !bridge::ReceiveMessage(connection.fd, message, platform::MsFromNow(kMessageArrivalMs))) {
      note(connection, "closed");  // by the client, or a message cut short or too large
      break;
    }
    if (!handle(connection, message.code, message.payload, opened))
      break;
  }
  std::lock_guard lock(connectionsMutex_);
  ::close(connection.fd);
  connection.finished = true;
}

bool BridgeServer::handle(Connection& connection, uint8_t code, const std::vector<uint8_t>& payload,
                          bool& opened) {
  auto malformed = [&] {
    note(connection, "malformed message '" + std::string(1, char(code)) + "', closed");
    return false;
  };
  if ((code == bridge::kOpen) == opened)
    return malformed();  // open first, and only once

  switch (code) {
    case bridge::kOpen: {
      if (payload.size() != 2)
        return malformed();
      bool accepted;
      {
        std::lock_guard lock(modelMutex_);
        accepted = model_.acceptsOpen();
      }
      note(connection, "open access " + std::to_string(payload[0]) + " share " +
                           std::to_string(payload[1]) + (accepted ? "" : ": refused, busy"));
      const uint8_t answer = accepted ? 0 : 1;
      opened = accepted;
      return Send(connection.fd, bridge::kOpenAnswer, {&answer, 1}) && accepted;
    }
    case bridge::kWrite: {
      DeviceModel::WriteResult result;
      {
        std::lock_guard lock(modelMutex_);
        result = model_.write(payload, Tick());
        afterModelCall();
      }
      modelChanged_.notify_all();
      if (result.dropped) {
        note(connection, "link dropped during a write, closed");
        return false;
      }
      std::vector<uint8_t> answer;
      bridge::PutBe32(answer, uint32_t(result.accepted));
      return Send(connection.fd, bridge::kWriteAnswer, answer);
    }
    case bridge::kRead: {
      if (payload.size() != 12)
        return malformed();
      const size_t count = std::min<size_t>(bridge::GetBe32(payload.data()), kMaxReadBytes);
      const uint32_t intervalMs = bridge::GetBe32(payload.data() + 4);
      const uint32_t totalMs = bridge::GetBe32(payload.data() + 8);
      std::vector<uint8_t> buffer(count);
      DeviceModel::TakeResult result;
      {
        std::unique_lock lock(modelMutex_);
        UnlockedWaiter waiter(lock, modelChanged_, stopping_);
        result = ReadAnswer(model_, buffer.data(), count, intervalMs, totalMs, waiter);
        afterModelCall();
      }
      if (result.dropped) {
        note(connection, "link dropped during a read, closed");
        return false;
      }
      buffer.resize(result.count);
      return Send(connection.fd, bridge::kReadAnswer, buffer);
    }
    case bridge::kControl: {
      if (payload.size() < 4)
        return malformed();
      bool done;
      {
        std::lock_guard lock(modelMutex_);
        done = model_.control(bridge::GetBe32(payload.data()), std::span(payload).subspan(4));
      }
      const uint8_t answer = done ? 1 : 0;
      return Send(connection.fd, bridge::kControlAnswer, {&answer, 1});
    }
    default:
      return malformed();
  }
}

}  // namespace devsim
