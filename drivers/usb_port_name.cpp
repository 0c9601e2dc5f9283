#include "drivers/usb_port_name.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace drivers {

void CopyUsbPortName(char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0)
    return;
  const char* port = std::getenv("VORNIK_USB_PORT");
  const std::string_view name = port != nullptr ? port : "";
  const size_t length = std::min<size_t>(name.size(), size - 1);
  std::memcpy(buffer, name.data(), length);
  buffer[length] = '\0';
}

}  // namespace drivers
