// firmware FILE: the Firmware Update page's download, with a progress bar on a terminal.
#pragma once

#include "ctl/command_line.h"
#include "ctl/ctl_io.h"

namespace vornik::ctl {

// Sends the image file unchanged, as the page does: the announce, the 4096-byte blocks,
// then the device's writing time. Messages as the page's: "Writing complete. Do not turn
// off until your machine is initialized." when every byte went out, "Update Complete!"
// at the end, "Failed to write data." (kExitNotResponding) when the download failed.
int RunFirmware(const CtlRequest& request, CtlIo& io);

}  // namespace vornik::ctl
