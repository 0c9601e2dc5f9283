// The USB control port that the USB stand-ins name: the bridge socket in VORNIK_USB_PORT
// when set, else the first USB printer-class device /dev/usb/lpN, else the empty name.
#pragma once

#include <cstdint>

namespace drivers {

// Copies the name into `buffer` (at most size - 1 characters and a terminating zero).
void CopyUsbPortName(char* buffer, uint32_t size);

}  // namespace drivers
