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
#include "platform/forwarding_device_file.h"

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
  class File : public platform::ForwardingDeviceFile {
   public:
    File(TappedDevice& tap, std::unique_ptr<platform::DeviceFile> inner)
        : ForwardingDeviceFile(std::move(inner)), tap_(tap) {}
    size_t write(const uint8_t* bytes, size_t count) override {
      const size_t allowed = tap_.onWrite ? tap_.onWrite({bytes, count}) : count;
      return ForwardingDeviceFile::write(bytes, std::min(count, allowed));
    }

   private:
    TappedDevice& tap_;
  };
};

}  // namespace vornik::test
