// Stand-in for the device's USB interface library: names the control port and moves
// blocks to and from it. Each call opens the port, transfers once and closes it, as a
// bulk transfer on the device's pipes would.
#include <cstdint>
#include <cstring>
#include <memory>

#include "drivers/usb_port_name.h"
#include "platform/posix_device_files.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr uint32_t kNameSize = 256;
// A USB read ends when the device pauses this long after its last byte, and gives up
// after the total when the device says nothing.
constexpr uint32_t kReadIntervalMs = 200;
constexpr uint32_t kReadTotalMs = 3000;

std::unique_ptr<platform::DeviceFile> OpenPort() {
  char name[kNameSize];
  drivers::CopyUsbPortName(name, kNameSize);
  if (name[0] == '\0')
    return nullptr;
  platform::PosixDeviceFiles devices;
  return devices.open(name, platform::kAccessRead | platform::kAccessWrite,
                      platform::kShareRead | platform::kShareWrite);
}

}  // namespace

EXPORT void GetControlPortName(char* buffer, uint32_t size) {
  drivers::CopyUsbPortName(buffer, size);
}

EXPORT uint32_t Win2kUsbWrite(const uint8_t* bytes, uint32_t length) {
  auto port = OpenPort();
  if (!port || bytes == nullptr)
    return 0;
  return uint32_t(port->write(bytes, length));
}

EXPORT uint32_t Win2kUsbRead(uint8_t* buffer, uint32_t length) {
  auto port = OpenPort();
  if (!port || buffer == nullptr)
    return 0;
  platform::CommTimeouts timeouts;
  timeouts.readInterval = kReadIntervalMs;
  timeouts.readTotalConstant = kReadTotalMs;
  port->setTimeouts(timeouts);
  return uint32_t(port->read(buffer, length));
}
