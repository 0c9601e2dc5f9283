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

namespace devsim {

class TrafficLog;

// How long a connection may sit between two messages, and how long one message may take
// to arrive once it started.
inline constexpr uint32_t kConnectionIdleMs = 300000;
inline constexpr uint32_t kMessageArrivalMs = 10000;
inline constexpr size_t kMaxConnections = 32;
// Reads are served up to this many bytes: far more than the device ever has pending.
inline constexpr size_t kMaxReadBytes = 1 << 20;

class BridgeServer {
 public:
  // `onChange` runs, with the model locked, after every change of the model's content.
  BridgeServer(DeviceModel& model, TrafficLog* log,
               std::function<void(const DeviceModel&)> onChange);
  ~BridgeServer();
  BridgeServer(const BridgeServer&) = delete;
  BridgeServer& operator=(const BridgeServer&) = delete;

  // Listens at `path`, replacing a stale socket there (never any other file). False with
  // `error` set when it cannot.
  bool listen(const std::string& path, std::string& error);

  // Serves until requestStop(), then closes every connection and removes the socket.
  void run();

  // Safe to call from a signal handler.
  void requestStop();

 private:
  struct Connection {
    int fd;
    int number;
    std::thread thread;
    bool finished = false;
  };

  void serve(Connection& connection);
  // Handles one message; false closes the connection.
  bool handle(Connection& connection, uint8_t code, const std::vector<uint8_t>& payload,
              bool& opened);
  void accept();
  void reapFinished();
  void afterModelCall();
  void note(const Connection& connection, const std::string& text);

  DeviceModel& model_;
  TrafficLog* log_;
  std::function<void(const DeviceModel&)> onChange_;
  std::mutex modelMutex_;  // guards the model and the stop flag
  std::condition_variable modelChanged_;
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
