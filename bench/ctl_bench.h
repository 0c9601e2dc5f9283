// vornikctl, the command-line program on the panel's core: a full phonebook exported to
// CSV from the device and imported back, and the most memory it holds doing so.
#pragma once

#include "bench/bench_device.h"

namespace vornik::bench {

// The rows are skipped, with a note, where vornikctl is not built beside the benchmarks.
void AddCtlRows(const BenchDevice& device);

}  // namespace vornik::bench
