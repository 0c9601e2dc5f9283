// How long the panel leaves the desktop's liveness pings unanswered while its Phonebook
// tab reads the device.
#pragma once

#include "bench/bench_device.h"

namespace vornik::bench {

// Two rows: the Phonebook tab's first read against the healthy device and against one
// that fell silent after start-up. Restarts the simulator for the silent one and leaves
// a healthy one behind.
void AddLivenessRows(BenchDevice& device);

}  // namespace vornik::bench
