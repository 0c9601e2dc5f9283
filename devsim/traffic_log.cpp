#include "devsim/traffic_log.h"

#include "platform/platform.h"

namespace devsim {

std::string HexBytes(std::span<const uint8_t> bytes) {
  std::string text;
  char byte[4];
  for (uint8_t b : bytes) {
    std::snprintf(byte, sizeof byte, text.empty() ? "%02X" : " %02X", b);
    text += byte;
  }
  return text;
}

TrafficLog::TrafficLog(const std::string& path) : file_(std::fopen(path.c_str(), "a")) {}

TrafficLog::~TrafficLog() {
  if (file_ != nullptr)
    std::fclose(file_);
}

void TrafficLog::line(const std::string& text) {
  if (file_ == nullptr)
    return;
  const uint32_t tick = platform::Services().clock->tickCount();
  std::lock_guard lock(mutex_);
  std::fprintf(file_, "%10u %s\n", tick, text.c_str());
  std::fflush(file_);
}

void TrafficLog::traffic(Traffic traffic, std::span<const uint8_t> bytes,
                         const DeviceModel& model) {
  const std::string count = std::to_string(bytes.size());
  switch (traffic) {
    case Traffic::kRequest:
      line("received " + HexBytes(bytes));
      break;
    case Traffic::kAnswer:
      line("sent " + HexBytes(bytes));
      break;
    case Traffic::kRejected:
      line("discarded " + HexBytes(bytes));
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
  }
}

}  // namespace devsim
