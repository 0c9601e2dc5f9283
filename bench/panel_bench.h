// The panel as a person starts it, watched from outside on the X display it runs on: the
// time from the process's start to its main window being mapped, and the most memory it
// holds once every page has been shown.
#pragma once

#include "bench/bench_device.h"

namespace vornik::bench {

void AddPanelRows(const BenchDevice& device);

}  // namespace vornik::bench
