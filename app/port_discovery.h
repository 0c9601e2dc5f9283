// Which connection reaches the device: the OS flavour, the USB library and its control
// port, and the choice of `PortKind`.
#pragma once

#include "link/connection.h"

namespace vornik {

// From the version query: platform 1 is the older flavour, platform 2 from major
// version 5 the NT flavour, anything else (or a failed query) neither.
OsFlavour QueryOsFlavour();

// Chooses `Connection.PortKind` for the flavour in `Connection.osFlavour`: USB (0) when
// the flavour's USB library names a control port that opens, else the flavour's
// parallel port. The USB library is loaded once and kept until exit.
void DiscoverPort();

// The parallel port that stands in for USB on the current flavour: LPT1 or the ECP device.
int32_t ParallelFallback();

// Unloads the USB library; clean-up does so at exit.
void UnloadUsbLibrary();

}  // namespace vornik
