// The device bridge server: serves one device model on a Unix-domain socket path, one
// connection per device open, each on its own thread. The model is shared: an answer
// produced on one connection waits until some connection reads it. A malformed message,
// an unknown code or a payload above the protocol's limit closes that connection only.
#pragma once

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "devsim/device_model.h"
#include "devsim/turn_mutex.h"

namespace devsim {

class TrafficLog;

// How long a connection may sit between two messages, and how long one message may take
// to arrive (or an answer to leave) once it started.
inline constexpr uint32_t kConnectionIdleMs = 300000;
// A connection that has not opened the device this long after it was accepted is closed:
// it holds one of the few slots without using the device.
inline constexpr uint32_t kOpenWithinMs = 10000;
inline constexpr uint32_t kMessageArrivalMs = 10000;
inline constexpr size_t kMaxConnections = 32;
// Reads are served up to this many bytes: more than the device ever has pending (its
// longest answers, a whole phonebook, as many as it keeps).
inline constexpr size_t kMaxReadBytes = 128 << 10;
static_assert(kMaxReadBytes > kMaxPendingAnswers * (11 + 69 * kPhonebookSlots));
// A write is given to the device this many bytes at a time, the device free for other
// connections in between: far more than any one request, so only a flood is cut up.
inline constexpr size_t kWriteSliceBytes = 64 << 10;
// A read that waits for the device looks this often whether its client is still there.
inline constexpr uint32_t kPeerCheckMs = 100;

// Keeps the device's content (in a state file); false with `error` saying why it could not.
using StateKeeper = std::function<bool(const DeviceContent& content, std::string& error)>;

class BridgeServer {
 public:
  // `keepState` (may be empty) runs, with the model locked, after every change of the
  // model's content. A write (slice) whose change cannot be kept is undone and answered as
  // not taken, so a client never believes the device stored what it lost. `openWithinMs`
  // is how long a new connection has to open the device.
  BridgeServer(DeviceModel& model, TrafficLog* log, StateKeeper keepState,
               uint32_t openWithinMs = kOpenWithinMs);
  ~BridgeServer();
  BridgeServer(const BridgeServer&) = delete;
  BridgeServer& operator=(const BridgeServer&) = delete;

  // Listens at `path`, replacing a stale socket there (never any other file). The socket is
  // made mode 0600 whatever the umask: the device is this user's alone. False with `error`
  // set when it cannot.
  bool listen(const std::string& path, std::string& error);

  // Serves until requestStop(), then closes every connection and removes the socket.
  void run();

  // Safe to call from a signal handler.
  void requestStop();

  // Serves the client connected on `fd` (non-blocking) until it hangs up, goes quiet, does
  // not open the device in time or breaks the protocol; `number` names the connection in the log.
  // Leaves `fd` open. run() calls it on a thread of its own for each connection.
  void serve(int fd, int number);

 private:
  struct Connection {
    Connection(int fd, int number) : fd(fd), number(number) {}
    int fd;
    int number;
    std::thread thread;
    bool finished = false;
  };
  struct Session {
    int fd;
    int number;
    bool opened = false;
  };

  // Handles one message; false closes the connection.
  bool handle(Session& session, uint8_t code, const std::vector<uint8_t>& payload);
  bool handleWrite(Session& session, const std::vector<uint8_t>& payload);
  bool handleRead(Session& session, const std::vector<uint8_t>& payload);
  void accept();
  void reapFinished();
  // After every model call, with the model locked: keeps changed content; false when it
  // could not.
  bool keepContent();
  void note(const Session& session, const std::string& text);
  void flushLog();

  DeviceModel& model_;
  TrafficLog* log_;
  StateKeeper keepState_;
  uint32_t openWithinMs_;
  TurnMutex modelMutex_;  // guards the model and the stop flag
  std::condition_variable_any modelChanged_;
  uint64_t seenRevision_;
  bool stopping_ = false;

  std::mutex connectionsMutex_;
  std::list<Connection> connections_;
  int nextNumber_ = 1;

  std::string path_;
  int listener_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
};

}  // namespace devsim
