// Stand-in for the USB port-naming library of the older OS flavour: it only names the
// control port, to which the program appends its pipe names.
#include <cstdint>

#include "drivers/usb_port_name.h"

extern "C" __attribute__((visibility("default"))) void GetControlPortName(char* buffer,
                                                                          uint32_t size) {
  drivers::CopyUsbPortName(buffer, size);
}
