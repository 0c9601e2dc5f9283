// A device file that hands every call on to another one: the base of the wrappers that
// watch or change a few of the calls and leave the rest as they are.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

class ForwardingDeviceFile : public DeviceFile {
 public:
  explicit ForwardingDeviceFile(std::unique_ptr<DeviceFile> inner) : inner_(std::move(inner)) {}

  size_t write(const uint8_t* bytes, size_t count) override { return inner_->write(bytes, count); }
  size_t read(uint8_t* buffer, size_t count) override { return inner_->read(buffer, count); }
  bool getTimeouts(CommTimeouts& timeouts) override { return inner_->getTimeouts(timeouts); }
  bool setTimeouts(const CommTimeouts& timeouts) override { return inner_->setTimeouts(timeouts); }
  bool control(uint32_t code, const uint8_t* input, size_t size) override {
    return inner_->control(code, input, size);
  }

 private:
  std::unique_ptr<DeviceFile> inner_;
};

}  // namespace platform
