// Counts the bytes that go to and come from the device while it lives, whichever way the
// connection moves them: through the device files, or through the USB library's two
// transfer functions. Drives a progress bar for a transfer whose commands know nothing
// of progress.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace vornik::ctl {

class TransferMeter {
 public:
  // `moved` hears the running total after every transfer call.
  explicit TransferMeter(std::function<void(uint64_t moved)> moved);
  ~TransferMeter();
  TransferMeter(const TransferMeter&) = delete;
  TransferMeter& operator=(const TransferMeter&) = delete;

 private:
  class MeteredDevices;
  std::function<void(uint64_t)> moved_;
  std::unique_ptr<MeteredDevices> devices_;
};

}  // namespace vornik::ctl
