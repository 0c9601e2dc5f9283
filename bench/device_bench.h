// The benchmarks that need the device: each command, start-up and the panel's memory.
#pragma once

#include "bench/bench_device.h"

namespace vornik::bench {

// Connects this process to `device` as start-up does (the USB stand-in names its socket)
// and asks the inquiry; false when the device cannot be reached.
bool ConnectToDevice(const BenchDevice& device);

// Each device command as the program runs it, timed on the real clock against its
// mandated waits, with the processor time this process spent on it. Needs the connection
// made.
void AddDeviceCommandRows(BenchDevice& device);

}  // namespace vornik::bench
