// The USB printer ports of this machine, each with the IEEE 1284 device ID it shows. Found
// below the system's sysfs root and device folder (`System::sysfsRoot`, `deviceFolder`), so a
// test gives a tree of its own.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct UsbPrinterPort {
  std::string path;      // <device folder>/usb/lpN
  std::string deviceId;  // "MFG:...;MDL:...;", empty when the port shows none
};

// The longest device ID taken; anything beyond it is dropped.
inline constexpr size_t kDeviceIdMaxLength = 1023;

// Every <device folder>/usb/lpN, in the order of N, at most `kMaxUsbPrinterPorts`. The ID is
// the kernel's attribute <sysfs root>/class/usbmisc/lpN/device/ieee1284_id; a port without it
// is asked with the LPIOC_GET_DEVICE_ID request when it is a character device (a request the
// kernel answers from the printer's descriptor: nothing is written to the printer). Bytes
// outside printable ASCII become '?'.
inline constexpr size_t kMaxUsbPrinterPorts = 32;
std::vector<UsbPrinterPort> ListUsbPrinterPorts();

}  // namespace platform
