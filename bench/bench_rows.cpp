#include "bench/bench_rows.h"

#include <algorithm>
#include <cstdio>

namespace vornik::bench {

std::vector<Row>& Rows() {
  static std::vector<Row> rows;
  return rows;
}

void AddRow(const std::string& operation, double mandatedMs, Target target, const RunPlan& plan,
            BenchBody body) {
  Row row;
  row.operation = operation;
  row.mandatedMs = mandatedMs;
  row.target = target;
  Rows().push_back(row);
  auto* benchmark = benchmark::RegisterBenchmark(operation.c_str(), std::move(body));
  benchmark->Repetitions(plan.repetitions)->Unit(benchmark::kMillisecond);
  if (plan.singleIteration)
    benchmark->Iterations(1);
  if (plan.manualTime)
    benchmark->UseManualTime();
  else
    benchmark->UseRealTime();
}

bool RowReporter::ReportContext(const Context& /*context*/) {
  return true;
}

void RowReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration)
      continue;
    auto& rows = Rows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&run](const Row& r) {
      return r.operation == run.run_name.function_name;
    });
    if (row == rows.end())
      continue;
    if (run.error_occurred) {
      row->skipped = run.error_message;
      std::fprintf(stderr, "%s: skipped: %s\n", row->operation.c_str(), run.error_message.c_str());
      continue;
    }
    const auto counter = run.counters.find(kPeakRssCounter);
    const bool memory = counter != run.counters.end();
    const double sample = memory ? double(counter->second) : run.GetAdjustedRealTime();
    row->samples.push_back(sample);
    std::string cpuText;
    if (const auto cpu = run.counters.find(kCpuCounter); cpu != run.counters.end()) {
      row->cpuSamples.push_back(double(cpu->second));
      cpuText = ", CPU " + std::to_string(double(cpu->second)) + " ms";
    }
    std::fprintf(stderr, "%s: %.4f %s%s (%d of %d)\n", row->operation.c_str(), sample,
                 memory ? "MB" : "ms", cpuText.c_str(), int(run.repetition_index + 1),
                 int(run.repetitions));
  }
}

}  // namespace vornik::bench
