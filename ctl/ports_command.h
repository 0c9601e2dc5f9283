// ports: every port the device may be on, as start-up sees them, and which one a command
// would take.
#pragma once

#include "ctl/command_line.h"
#include "ctl/ctl_io.h"

namespace vornik::ctl {

// Lists the USB printer ports (path, kind "usb", device ID, whether the ID names the device,
// whether the commands would take it), the port named in VORNIK_USB_PORT and the parallel
// port when they are there. Opens no port and sends nothing.
int RunPorts(const CtlRequest& request, CtlIo& io);

}  // namespace vornik::ctl
