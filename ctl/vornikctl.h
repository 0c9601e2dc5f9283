// vornikctl: the panel's device functions without a window, for scripts, backups and
// fleets. Runs on the panel's core: the same port arbitration, discovery, fallback and
// inquiry; results on stdout, messages on stderr, a documented exit status for each failure.
#pragma once

#include <string>
#include <vector>

#include "ctl/ctl_io.h"

namespace vornik::ctl {

// Runs the command line `args` (without the program name); returns the exit status.
int RunVornikctl(const std::vector<std::string>& args, CtlIo& io);

}  // namespace vornik::ctl
