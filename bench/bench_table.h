// The rows `./build.sh bench` reports: each operation's mandated waits, its measured median,
// the overhead on top of the waits and whether its target is met, and for a device
// operation the processor time it cost; printed as one table and written as JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vornik::bench {

// What a row is held to.
struct Target {
  enum class Kind {
    kOverheadPercent,  // (measured - mandated) / mandated, percent, at most `limit`
    kOverheadMs,       // measured - mandated, milliseconds, at most `limit`
    kTimeMs,           // measured milliseconds under `limit`
    kMemoryMb,         // measured megabytes under `limit`
    kNone,             // measured and shown only
  };
  Kind kind = Kind::kNone;
  double limit = 0;
};

// A device operation mostly waits: the processor time it costs the program is held to this
// share of its wall time, in percent.
inline constexpr double kCpuPercentLimit = 5;

// The middle sample, or the mean of the two middle ones; 0 for none.
double Median(const std::vector<double>& samples);

struct Row {
  std::string operation;
  double mandatedMs = 0;  // 0: the operation has no prescribed waits
  Target target;
  std::vector<double> samples;  // milliseconds, or megabytes for a memory target
  std::string skipped;          // why nothing was measured; empty when it was
  // The program's processor milliseconds in each repetition; empty for a row that does not
  // take them.
  std::vector<double> cpuSamples;

  bool measured() const { return skipped.empty() && !samples.empty(); }
  double median() const;
  // The part of the median that the program adds to the mandated waits, in percent of them;
  // nullopt for a row without mandated waits.
  std::optional<double> overheadPercent() const;
  bool targetMet() const;
  // "overhead <= 2 %", "< 1 ms", ...; empty for a row without a target.
  std::string targetText() const;
  // The median processor time in percent of the measured median; nullopt for a row without
  // processor times.
  std::optional<double> cpuPercent() const;
  // Whether that share is at most kCpuPercentLimit; false when it was not measured.
  bool cpuTargetMet() const;
};

// The machine a run was made on, named in the output.
struct Machine {
  std::string cpu;
  int cores = 0;
  std::string kernel;
  double memoryGiB = 0;
  std::string date;  // ISO 8601, UTC
};
Machine ThisMachine();

// One line per row: operation, mandated, measured median, overhead %, target, status, and
// the processor time with its share of the wall time and that target's status.
std::string FormatTable(const std::vector<Row>& rows);
std::string FormatJson(const std::vector<Row>& rows, const Machine& machine);

}  // namespace vornik::bench
