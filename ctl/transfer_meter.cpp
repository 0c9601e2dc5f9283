#include "ctl/transfer_meter.h"

#include "ctl/scoped_devices.h"
#include "link/connection.h"
#include "platform/forwarding_device_file.h"
#include "platform/platform.h"

namespace vornik::ctl {
namespace {

// The meter in force; the USB library's functions are plain pointers without a context.
std::function<void(uint64_t)>* activeMeter = nullptr;
uint64_t movedBytes = 0;
Win2kUsbWriteFn libraryWrite = nullptr;
Win2kUsbReadFn libraryRead = nullptr;

void Count(size_t bytes) {
  movedBytes += bytes;
  if (activeMeter != nullptr && bytes > 0)
    (*activeMeter)(movedBytes);
}

uint32_t MeteredUsbWrite(const uint8_t* bytes, uint32_t length) {
  const uint32_t written = libraryWrite(bytes, length);
  Count(written);
  return written;
}

uint32_t MeteredUsbRead(uint8_t* buffer, uint32_t length) {
  const uint32_t read = libraryRead(buffer, length);
  Count(read);
  return read;
}

class MeteredFile : public platform::ForwardingDeviceFile {
 public:
  using ForwardingDeviceFile::ForwardingDeviceFile;
  size_t write(const uint8_t* bytes, size_t count) override {
    const size_t written = ForwardingDeviceFile::write(bytes, count);
    Count(written);
    return written;
  }
  size_t read(uint8_t* buffer, size_t count) override {
    const size_t read = ForwardingDeviceFile::read(buffer, count);
    Count(read);
    return read;
  }
};

}  // namespace

class TransferMeter::MeteredDevices : public platform::DeviceFiles {
 public:
  MeteredDevices() : inner_(*platform::Services().devices), scope_(*this) {}

  std::unique_ptr<platform::DeviceFile> open(const std::string& name, unsigned access,
                                             unsigned share) override {
    auto file = inner_.open(name, access, share);
    if (!file)
      return nullptr;
    return std::make_unique<MeteredFile>(std::move(file));
  }
  bool accessDenied(const std::string& name) override { return inner_.accessDenied(name); }

 private:
  platform::DeviceFiles& inner_;
  ScopedDevices scope_;
};

TransferMeter::TransferMeter(std::function<void(uint64_t moved)> moved)
    : moved_(std::move(moved)), devices_(std::make_unique<MeteredDevices>()) {
  activeMeter = &moved_;
  movedBytes = 0;
  libraryWrite = Connection.Win2kUsbWrite;
  libraryRead = Connection.Win2kUsbRead;
  if (libraryWrite != nullptr)
    Connection.Win2kUsbWrite = MeteredUsbWrite;
  if (libraryRead != nullptr)
    Connection.Win2kUsbRead = MeteredUsbRead;
}

TransferMeter::~TransferMeter() {
  if (libraryWrite != nullptr)
    Connection.Win2kUsbWrite = libraryWrite;
  if (libraryRead != nullptr)
    Connection.Win2kUsbRead = libraryRead;
  activeMeter = nullptr;
}

}  // namespace vornik::ctl
