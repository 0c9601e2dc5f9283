// The USB control port that the USB stand-ins name: the port the program named in
// VORNIK_USB_PORT (the port it chose among the USB printer ports, or a bridge socket), else
// the empty name. The stand-ins never pick a printer port themselves: with several, the first
// could be another printer.
#pragma once

#include <cstdint>

namespace drivers {

// Copies the name into `buffer` (at most size - 1 characters and a terminating zero).
void CopyUsbPortName(char* buffer, uint32_t size);

}  // namespace drivers
