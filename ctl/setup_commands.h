// settings get|set and advanced get|set: the Settings and Advanced pages' records.
#pragma once

#include "ctl/command_line.h"
#include "ctl/ctl_io.h"

namespace vornik::ctl {

// Reads the record and prints every field (the page's order), as lines or as JSON.
int RunSettingsGet(const CtlRequest& request, CtlIo& io);
int RunAdvancedGet(const CtlRequest& request, CtlIo& io);

// Checks every field=value against the page's lists and ranges first: an unknown field or
// a value the page could not set refuses the whole command and nothing is sent. Then reads
// the record, changes only the named fields and sends it back.
int RunSettingsSet(const CtlRequest& request, CtlIo& io);
int RunAdvancedSet(const CtlRequest& request, CtlIo& io);

// The help text that lists the fields `set` takes and their values.
std::string SettingsFieldHelp();
std::string AdvancedFieldHelp();

}  // namespace vornik::ctl
