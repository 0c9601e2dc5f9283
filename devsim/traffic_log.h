// The simulator's traffic log: one line per event, every request frame received and every
// answer sent as hex, so a session with the panel can be read back byte by byte.
//
// The model reports its events with the model locked, so they are only queued there;
// flush(), which the server calls with the model unlocked, writes them out, and a slow
// disk never holds up the device. A run of discarded bytes is one line. The log ends with
// a note once it reaches its size limit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "devsim/device_model.h"

namespace devsim {

inline constexpr uint64_t kMaxLogBytes = 32u << 20;
// A run of discarded bytes shows this many of them.
inline constexpr size_t kDiscardedBytesShown = 32;

class TrafficLog {
 public:
  // Appends to `path`, a file private to its owner (platform::OpenPrivateAppend: a link there
  // is refused); `ok()` tells whether it could be opened, errno why not.
  explicit TrafficLog(const std::string& path, uint64_t maxBytes = kMaxLogBytes);
  ~TrafficLog();
  TrafficLog(const TrafficLog&) = delete;
  TrafficLog& operator=(const TrafficLog&) = delete;

  bool ok() const { return file_ != nullptr; }

  // Queues a line of text, prefixed with the millisecond tick.
  void line(const std::string& text);
  // Queues what the model reported; image bytes are summed up rather than dumped.
  void traffic(Traffic traffic, std::span<const uint8_t> bytes, const DeviceModel& model);
  // Writes every line queued, in order.
  void flush();

 private:
  // Both need queueMutex_ held.
  void queue(uint32_t tick, const std::string& text);
  void endDiscardedRun();

  std::mutex queueMutex_;  // guards everything below but the file
  std::string queued_;
  uint64_t logged_ = 0;  // bytes queued since the start, written or not
  uint64_t maxBytes_;
  bool full_ = false;
  struct DiscardedRun {
    uint32_t tick = 0;
    uint64_t count = 0;
    std::vector<uint8_t> shown;
  } discarded_;

  std::mutex fileMutex_;  // held while queued lines are written: they stay in order
  FILE* file_;
};

// "1B A4 00 04"
std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace devsim
