// The simulator's traffic log: one line per event, every request frame received and every
// answer sent as hex, so a session with the panel can be read back byte by byte.
#pragma once

#include <cstdio>
#include <mutex>
#include <span>
#include <string>

#include "devsim/device_model.h"

namespace devsim {

class TrafficLog {
 public:
  // Appends to `path`; `ok()` tells whether it could be opened.
  explicit TrafficLog(const std::string& path);
  ~TrafficLog();
  TrafficLog(const TrafficLog&) = delete;
  TrafficLog& operator=(const TrafficLog&) = delete;

  bool ok() const { return file_ != nullptr; }

  // A line of text, prefixed with the millisecond tick.
  void line(const std::string& text);
  // What the model reported; image bytes are summed up rather than dumped.
  void traffic(Traffic traffic, std::span<const uint8_t> bytes, const DeviceModel& model);

 private:
  std::mutex mutex_;
  FILE* file_;
};

// "1B A4 00 04"
std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace devsim
