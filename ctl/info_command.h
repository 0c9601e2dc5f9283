// info: the Information page's versions, free memory and counters.
#pragma once

#include "ctl/command_line.h"
#include "ctl/ctl_io.h"
#include "ctl/field_output.h"
#include "info/device_info.h"

namespace vornik::ctl {

// The record's values as the page shows them, named by its labels: the three versions as
// the device sent them, free memory in percent, the six counters.
NamedValues DeviceInfoValues(const DeviceInfoRecord& info);

// Reads the device information and prints it, as lines or as JSON.
int RunInfo(const CtlRequest& request, CtlIo& io);

}  // namespace vornik::ctl
