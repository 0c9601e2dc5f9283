// Every benchmark makes one row of the table: it is registered with its row, and the
// reporter gathers each repetition's measurement into that row.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "bench/bench_table.h"

namespace vornik::bench {

// A memory benchmark sets this counter, in megabytes, instead of being timed.
inline constexpr const char* kPeakRssCounter = "peak_rss_mb";
// A device operation sets this counter to the processor milliseconds the program spent.
inline constexpr const char* kCpuCounter = "cpu_ms";

struct RunPlan {
  int repetitions = 3;
  // One iteration per repetition: an operation that takes seconds. Otherwise the library
  // chooses how many iterations make a repetition.
  bool singleIteration = true;
  // The body reports each iteration's time itself (SetIterationTime), for a time taken
  // from outside the process.
  bool manualTime = false;
};

using BenchBody = std::function<void(benchmark::State&)>;

// Registers `body` as the benchmark named `operation`; its results fill that row.
void AddRow(const std::string& operation, double mandatedMs, Target target, const RunPlan& plan,
            BenchBody body);

// The rows in the order they were added.
std::vector<Row>& Rows();

// Fills the rows as the runs end and shows each run on stderr as it comes.
class RowReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& runs) override;
};

}  // namespace vornik::bench
