#include "devsim/bridge_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

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

// True when the client on `fd` closed its end: no one is left to read an answer.
bool PeerGone(int fd) {
  pollfd pfd{fd, 0, 0};
  return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR)) != 0;
}

// Waits for the device in real time with the model unlocked, so that other connections
// use it meanwhile; a write on any of them wakes the wait early. The wait gives up when the
// client that asked for the read hangs up.
class UnlockedWaiter : public ReadWaiter {
 public:
  UnlockedWaiter(std::unique_lock<TurnMutex>& lock, std::condition_variable_any& changed,
                 const bool& stopping, int fd)
      : lock_(lock), changed_(changed), stopping_(stopping), fd_(fd) {}
  uint32_t now() override { return Tick(); }
  bool wait(uint32_t ms) override {
    if (!stopping_ && !peerGone())
      changed_.wait_for(lock_, std::chrono::milliseconds(std::min(ms, kPeerCheckMs)));
    return !stopping_ && !peerGone();
  }
  bool peerGone() {
    gone_ = gone_ || PeerGone(fd_);
    return gone_;
  }

 private:
  std::unique_lock<TurnMutex>& lock_;
  std::condition_variable_any& changed_;
  const bool& stopping_;
  int fd_;
  bool gone_ = false;
};

// The code of a message as the log shows it: the letter, or the byte in hex.
std::string CodeText(uint8_t code) {
  if (code > ' ' && code < 0x7F)
    return std::string("'") + char(code) + "'";
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", code);
  return hex;
}

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

BridgeServer::BridgeServer(DeviceModel& model, TrafficLog* log, StateKeeper keepState,
                           uint32_t openWithinMs)
    : model_(model),
      log_(log),
      keepState_(std::move(keepState)),
      openWithinMs_(openWithinMs),
      seenRevision_(model.revision()) {
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
  // bind makes the socket file with the umask's mode; it is narrowed for the bind alone, which
  // runs before any connection thread.
  const mode_t mask = ::umask(0177);
  const bool bound = listener_ >= 0 &&
                     ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::umask(mask);
  if (!bound || wakeRead_ < 0 || ::listen(listener_, 16) != 0) {
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
      keepContent();
    }
    flushLog();
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
  reapFinished();  // a slot freed a moment ago is free now
  std::lock_guard lock(connectionsMutex_);
  if (connections_.size() >= kMaxConnections) {
    ::close(fd);
    if (log_) {
      log_->line("connection refused: too many open");
      log_->flush();
    }
    return;
  }
  auto& connection = connections_.emplace_back(fd, nextNumber_++);
  connection.thread = std::thread([this, &connection] {
    serve(connection.fd, connection.number);
    std::lock_guard lock(connectionsMutex_);
    ::close(connection.fd);
    connection.finished = true;
  });
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

bool BridgeServer::keepContent() {
  if (model_.revision() == seenRevision_)
    return true;
  // Marked as seen even when it fails: the next change tries again, with everything.
  seenRevision_ = model_.revision();
  std::string error;
  if (!keepState_ || keepState_(model_.content(), error))
    return true;
  if (log_)
    log_->line("state not saved: " + error);
  return false;
}

void BridgeServer::note(const Session& session, const std::string& text) {
  if (log_) {
    log_->line("connection " + std::to_string(session.number) + ": " + text);
    log_->flush();
  }
}

void BridgeServer::flushLog() {
  if (log_)
    log_->flush();
}

void BridgeServer::serve(int fd, int number) {
  Session session{fd, number};
  const auto openBy = platform::MsFromNow(openWithinMs_);
  for (;;) {
    // Until the open, the whole message must arrive by `openBy`.
    const auto idleUntil = session.opened ? platform::MsFromNow(kConnectionIdleMs) : openBy;
    const auto arrivedBy = session.opened ? platform::MsFromNow(kMessageArrivalMs) : openBy;
    // A message of its own each time: its payload (up to 16 MiB) goes with it, and an idle
    // connection holds no buffer.
    bridge::Message message;
    if (!platform::WaitReady(fd, POLLIN, idleUntil) ||
        !bridge::ReceiveMessage(fd, message, arrivedBy)) {
      // By the client, no open in time, or a message cut short or too large.
      note(session, "closed");
      return;
    }
    if (!handle(session, message.code, message.payload))
      return;
  }
}

bool BridgeServer::handle(Session& session, uint8_t code, const std::vector<uint8_t>& payload) {
  auto malformed = [&] {
    note(session, "malformed message " + CodeText(code) + ", closed");
    return false;
  };
  if ((code == bridge::kOpen) == session.opened)
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
      note(session, "open access " + std::to_string(payload[0]) + " share " +
                        std::to_string(payload[1]) + (accepted ? "" : ": refused, busy"));
      const uint8_t answer = accepted ? 0 : 1;
      session.opened = accepted;
      return Send(session.fd, bridge::kOpenAnswer, {&answer, 1}) && accepted;
    }
    case bridge::kWrite:
      return handleWrite(session, payload);
    case bridge::kRead:
      if (payload.size() != 12)
        return malformed();
      return handleRead(session, payload);
    case bridge::kControl: {
      if (payload.size() < 4)
        return malformed();
      bool done;
      {
        std::lock_guard lock(modelMutex_);
        done = model_.control(bridge::GetBe32(payload.data()), std::span(payload).subspan(4));
      }
      const uint8_t answer = done ? 1 : 0;
      return Send(session.fd, bridge::kControlAnswer, {&answer, 1});
    }
    default:
      return malformed();
  }
}

bool BridgeServer::handleWrite(Session& session, const std::vector<uint8_t>& payload) {
  const std::span<const uint8_t> bytes(payload);
  size_t accepted = 0;
  bool dropped = false, kept = true;
  // Slice by slice, until the device takes a slice short (the short-write fault).
  for (size_t at = 0; at < bytes.size(); at += kWriteSliceBytes) {
    const auto slice = bytes.subspan(at, std::min(kWriteSliceBytes, bytes.size() - at));
    DeviceModel::WriteResult result;
    {
      std::lock_guard lock(modelMutex_);
      // A slice whose change cannot be kept is undone whole, the acknowledgement it queued
      // with it: the device did not store it.
      std::optional<DeviceModel> before;
      if (keepState_)
        before.emplace(model_);
      result = model_.write(slice, Tick());
      kept = keepContent();
      if (!kept) {
        model_ = std::move(*before);
        seenRevision_ = model_.revision();
      }
    }
    flushLog();
    modelChanged_.notify_all();
    dropped = result.dropped;
    if (dropped || !kept)
      break;
    accepted += result.accepted;
    if (result.accepted < slice.size())
      break;
  }
  if (dropped) {
    note(session, "link dropped during a write, closed");
    return false;
  }
  if (!kept)
    note(session, "write not kept: answered as taking only the bytes before it");
  std::vector<uint8_t> answer;
  bridge::PutBe32(answer, uint32_t(accepted));
  return Send(session.fd, bridge::kWriteAnswer, answer);
}

bool BridgeServer::handleRead(Session& session, const std::vector<uint8_t>& payload) {
  const size_t count = std::min<size_t>(bridge::GetBe32(payload.data()), kMaxReadBytes);
  const uint32_t intervalMs = bridge::GetBe32(payload.data() + 4);
  const uint32_t totalMs = bridge::GetBe32(payload.data() + 8);
  std::vector<uint8_t> buffer(count);
  DeviceModel::TakeResult result;
  bool peerGone;
  {
    std::unique_lock lock(modelMutex_);
    UnlockedWaiter waiter(lock, modelChanged_, stopping_, session.fd);
    result = ReadAnswer(model_, buffer.data(), count, intervalMs, totalMs, waiter);
    peerGone = waiter.peerGone();
    if (peerGone)
      model_.putBack({buffer.data(), result.count}, Tick());  // they belong to the next reader
    keepContent();
  }
  flushLog();
  if (result.dropped) {
    note(session, "link dropped during a read, closed");
    return false;
  }
  if (peerGone) {
    modelChanged_.notify_all();
    note(session, "client gone during a read, closed");
    return false;
  }
  buffer.resize(result.count);
  if (!Send(session.fd, bridge::kReadAnswer, buffer)) {
    {
      std::lock_guard lock(modelMutex_);
      model_.putBack(buffer, Tick());
    }
    modelChanged_.notify_all();
    note(session, "answer not delivered, closed");
    return false;
  }
  return true;
}

}  // namespace devsim
