#include "drivers/usb_port_name.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace drivers {

void CopyUsbPortName(char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0)
    return;
  std::string name;
  if (const char* port = std::getenv("VORNIK_USB_PORT"); port != nullptr && *port != '\0') {
    name = port;
  } else {
    constexpr int kUsbPrinterDevices = 16;
    for (int n = 0; n < kUsbPrinterDevices && name.empty(); ++n) {
      const std::string candidate = "/dev/usb/lp" + std::to_string(n);
      struct stat info {};
      if (::stat(candidate.c_str(), &info) == 0)
        name = candidate;
    }
  }
  const size_t length = std::min<size_t>(name.size(), size - 1);
  std::memcpy(buffer, name.data(), length);
  buffer[length] = '\0';
}

}  // namespace drivers
