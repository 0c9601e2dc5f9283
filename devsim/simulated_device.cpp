#include "devsim/simulated_device.h"

#include "devsim/answer_read.h"

namespace devsim {
namespace {

class ClockWaiter : public ReadWaiter {
 public:
  uint32_t now() override { return platform::Services().clock->tickCount(); }
  bool wait(uint32_t ms) override {
    platform::SleepInSlices(ms);  // a read of the device file runs the wait hook as it waits
    return true;
  }
};

// A handle on the model. Once the link dropped, the handle is dead: it transfers nothing.
class SimulatedDeviceFile : public platform::DeviceFile {
 public:
  explicit SimulatedDeviceFile(DeviceModel& model) : model_(model) {}

  size_t write(const uint8_t* bytes, size_t count) override {
    if (dropped_)
      return 0;
    const auto result = model_.write({bytes, count}, platform::Services().clock->tickCount());
    dropped_ = result.dropped;
    return result.accepted;
  }

  size_t read(uint8_t* buffer, size_t count) override {
    if (dropped_)
      return 0;
    ClockWaiter waiter;
    const auto result = ReadAnswer(model_, buffer, count, timeouts_.readInterval,
                                   platform::ReadTotalMs(timeouts_, count), waiter);
    dropped_ = result.dropped;
    return result.count;
  }

  bool getTimeouts(platform::CommTimeouts& timeouts) override {
    timeouts = timeouts_;
    return true;
  }
  bool setTimeouts(const platform::CommTimeouts& timeouts) override {
    timeouts_ = timeouts;
    return true;
  }

  bool control(uint32_t code, const uint8_t* input, size_t size) override {
    return !dropped_ && model_.control(code, {input, size});
  }

 private:
  DeviceModel& model_;
  platform::CommTimeouts timeouts_;
  bool dropped_ = false;
};

}  // namespace

DeviceFactory SimulatedDevice::factory() {
  return [this](unsigned, unsigned) -> std::unique_ptr<platform::DeviceFile> {
    if (!model.acceptsOpen())
      return nullptr;
    return std::make_unique<SimulatedDeviceFile>(model);
  };
}

}  // namespace devsim
