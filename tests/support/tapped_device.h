// A device seen through a tap: before every write `onWrite` sees the bytes offered and
// answers how many of them the device may take. Lets a test look at the program between
// two writes, or have the device take less than it is offered.
//
//   TappedDevice tap;
//   tap.onWrite = [&](std::span<const uint8_t> bytes) { ...; return bytes.size(); };
//   fake.devices.add(PortNameTable[kPortLpt1], tap.wrap(sim.factory()));
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <span>

#include "platform/fake_platform.h"

namespace vornik::test {

class TappedDevice {
 public:
  std::function<size_t(std::span<const uint8_t>)> onWrite;

  platform::FakeDeviceFiles::Factory wrap(platform::FakeDeviceFiles::Factory inner) {
    return [this, inner](unsigned access, unsigned share) -> std::unique_ptr<platform::DeviceFile> {
      auto file = inner(access, share);
      if (!file)
        return nullptr;
      return std::make_unique<File>(*this, std::move(file));
    };
  }

 private:
  class File : public platform::DeviceFile {
   public:
    File(TappedDevice& tap, std::unique_ptr<platform::DeviceFile> inner)
        : tap_(tap), inner_(std::move(inner)) {}
    size_t write(const uint8_t* bytes, size_t count) override {
      const size_t allowed = tap_.onWrite ? tap_.onWrite({bytes, count}) : count;
      return inner_->write(bytes, std::min(count, allowed));
    }
    size_t read(uint8_t* buffer, size_t count) override { return inner_->read(buffer, count); }
    bool getTimeouts(platform::CommTimeouts& timeouts) override {
      return inner_->getTimeouts(timeouts);
    }
    bool setTimeouts(const platform::CommTimeouts& timeouts) override {
      return inner_->setTimeouts(timeouts);
    }
    bool control(uint32_t code, const uint8_t* input, size_t size) override {
      return inner_->control(code, input, size);
    }

   private:
    TappedDevice& tap_;
    std::unique_ptr<platform::DeviceFile> inner_;
  };
};

}  // namespace vornik::test
