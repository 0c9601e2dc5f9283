#include "devsim/traffic_log.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/private_files.h"

namespace devsim {
namespace {

uint32_t Tick() {
  return platform::Services().clock->tickCount();
}

}  // namespace

std::string HexBytes(std::span<const uint8_t> bytes) {
  std::string text;
  char byte[4];
  for (uint8_t b : bytes) {
    std::snprintf(byte, sizeof byte, text.empty() ? "%02X" : " %02X", b);
    text += byte;
  }
  return text;
}

TrafficLog::TrafficLog(const std::string& path, uint64_t maxBytes)
    : maxBytes_(maxBytes), file_(platform::OpenPrivateAppend(path)) {}

TrafficLog::~TrafficLog() {
  flush();
  if (file_ != nullptr)
    std::fclose(file_);
}

void TrafficLog::queue(uint32_t tick, const std::string& text) {
  if (full_ || file_ == nullptr)
    return;
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%10u ", tick);
  std::string entry = stamp + text + "\n";
  if (logged_ + entry.size() > maxBytes_) {
    full_ = true;
    entry = std::string(stamp) + "log full at " + std::to_string(logged_) +
            " bytes: nothing more is logged\n";
  }
  logged_ += entry.size();
  queued_ += entry;
}

void TrafficLog::endDiscardedRun() {
  auto& run = discarded_;
  if (run.count == 0)
    return;
  std::string text = "discarded " + HexBytes(run.shown);
  if (run.count > run.shown.size())
    text += " ... (" + std::to_string(run.count) + " bytes)";
  queue(run.tick, text);
  run = {};
}

void TrafficLog::line(const std::string& text) {
  const uint32_t tick = Tick();
  std::lock_guard lock(queueMutex_);
  endDiscardedRun();
  queue(tick, text);
}

void TrafficLog::traffic(Traffic traffic, std::span<const uint8_t> bytes,
                         const DeviceModel& model) {
  if (traffic == Traffic::kRejected) {
    // A stray byte at a time is what garbage looks like to the device: a run of them is one
    // line, however long.
    std::lock_guard lock(queueMutex_);
    auto& run = discarded_;
    if (run.count == 0)
      run.tick = Tick();
    if (run.shown.size() < kDiscardedBytesShown) {
      const size_t shown = std::min(bytes.size(), kDiscardedBytesShown - run.shown.size());
      run.shown.insert(run.shown.end(), bytes.begin(), bytes.begin() + ptrdiff_t(shown));
    }
    run.count += bytes.size();
    return;
  }
  const std::string count = std::to_string(bytes.size());
  switch (traffic) {
    case Traffic::kRequest:
      line("received " + HexBytes(bytes));
      break;
    case Traffic::kAnswer:
      line("sent " + HexBytes(bytes));
      break;
    case Traffic::kImageData:
      line("image data " + count + " bytes, " + std::to_string(model.download().size) + " so far");
      break;
    case Traffic::kImageComplete: {
      const auto& firmware = model.content().firmware;
      line("image complete: " + std::to_string(firmware.lastImageSize) + " bytes, checksum " +
           std::to_string(firmware.lastImageChecksum));
      break;
    }
    case Traffic::kDropped:
      line("link dropped (drop-transfer)");
      break;
    case Traffic::kRejected:
      break;
  }
}

void TrafficLog::flush() {
  std::lock_guard fileLock(fileMutex_);
  std::string lines;
  {
    std::lock_guard lock(queueMutex_);
    endDiscardedRun();
    lines.swap(queued_);
  }
  if (file_ == nullptr || lines.empty())
    return;
  std::fwrite(lines.data(), 1, lines.size(), file_);
  std::fflush(file_);
}

}  // namespace devsim
