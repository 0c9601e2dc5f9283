// A device behind a link that can be cut: once `limit` bytes have crossed it (both ways,
// every handle together) it carries nothing more and the device no longer opens, as a
// device unplugged in the middle of a transfer.
//
//   CutLink link;
//   fake.devices.add(PortNameTable[kPortLpt1], link.wrap(sim.factory()));
//   link.limit = link.carried + 100;  // cut after 100 more bytes
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/fake_platform.h"

namespace vornik::test {

class CutLink {
 public:
  size_t carried = 0;
  size_t limit = SIZE_MAX;

  platform::FakeDeviceFiles::Factory wrap(platform::FakeDeviceFiles::Factory inner) {
    return [this, inner](unsigned access, unsigned share) -> std::unique_ptr<platform::DeviceFile> {
      if (room() == 0)
        return nullptr;
      auto file = inner(access, share);
      if (!file)
        return nullptr;
      return std::make_unique<File>(*this, std::move(file));
    };
  }

 private:
  size_t room() const { return carried >= limit ? 0 : limit - carried; }

  class File : public platform::DeviceFile {
   public:
    File(CutLink& link, std::unique_ptr<platform::DeviceFile> inner)
        : link_(link), inner_(std::move(inner)) {}
    size_t write(const uint8_t* bytes, size_t count) override {
      const size_t allowed = std::min(count, link_.room());
      return allowed == 0 ? 0 : tally(inner_->write(bytes, allowed));
    }
    size_t read(uint8_t* buffer, size_t count) override {
      const size_t allowed = std::min(count, link_.room());
      return allowed == 0 ? 0 : tally(inner_->read(buffer, allowed));
    }
    bool getTimeouts(platform::CommTimeouts& timeouts) override {
      return inner_->getTimeouts(timeouts);
    }
    bool setTimeouts(const platform::CommTimeouts& timeouts) override {
      return inner_->setTimeouts(timeouts);
    }
    bool control(uint32_t code, const uint8_t* input, size_t size) override {
      return link_.room() > 0 && inner_->control(code, input, size);
    }

   private:
    size_t tally(size_t moved) {
      link_.carried += moved;
      return moved;
    }

    CutLink& link_;
    std::unique_ptr<platform::DeviceFile> inner_;
  };
};

}  // namespace vornik::test
