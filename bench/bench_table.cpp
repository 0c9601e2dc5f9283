#include "bench/bench_table.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>

namespace vornik::bench {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool IsMemory(const Row& row) {
  return row.target.kind == Target::Kind::kMemoryMb;
}

std::string Milliseconds(double ms) {
  if (ms >= 100)
    return Format("%.1f ms", ms);
  if (ms >= 1)
    return Format("%.2f ms", ms);
  return Format("%.4f ms", ms);
}

std::string MeasuredText(const Row& row) {
  if (!row.measured())
    return "-";
  return IsMemory(row) ? Format("%.1f MB", row.median()) : Milliseconds(row.median());
}

std::string OverheadText(const Row& row) {
  const auto percent = row.overheadPercent();
  if (!percent)
    return "-";
  return Format("%.2f %%", *percent) + Format(" (%+.1f ms)", row.median() - row.mandatedMs);
}

std::string CpuTimeText(const Row& row) {
  return row.cpuPercent() ? Milliseconds(Median(row.cpuSamples)) : "-";
}

std::string CpuPercentText(const Row& row) {
  const auto percent = row.cpuPercent();
  return percent ? Format("%.2f %%", *percent) : "-";
}

std::string CpuTargetText(const Row& row) {
  return row.cpuSamples.empty() ? std::string() : Format("<= %g %%", kCpuPercentLimit);
}

std::string CpuStatusText(const Row& row) {
  if (!row.cpuPercent())
    return "-";
  return row.cpuTargetMet() ? "met" : "MISSED";
}

std::string StatusText(const Row& row) {
  if (!row.skipped.empty())
    return "skipped: " + row.skipped;
  if (!row.measured())
    return "not measured";
  if (row.target.kind == Target::Kind::kNone)
    return "-";
  return row.targetMet() ? "met" : "MISSED";
}

std::string JsonText(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string JsonNumber(double value) {
  return Format("%.6g", value);
}

std::string JsonList(const std::vector<double>& values) {
  std::string list = "[";
  for (size_t i = 0; i < values.size(); ++i)
    list += (i == 0 ? "" : ", ") + JsonNumber(values[i]);
  return list + "]";
}

std::string FirstLineValue(const char* path, const std::string& key) {
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    if (line.compare(0, key.size(), key) != 0)
      continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
      continue;
    const size_t start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return {};
}

}  // namespace

double Median(const std::vector<double>& samples) {
  if (samples.empty())
    return 0;
  std::vector<double> sorted = samples;
  std::sort(sorted.begin(), sorted.end());
  const size_t middle = sorted.size() / 2;
  return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Row::median() const {
  return Median(samples);
}

std::optional<double> Row::overheadPercent() const {
  if (mandatedMs <= 0 || !measured() || IsMemory(*this))
    return std::nullopt;
  return (median() - mandatedMs) / mandatedMs * 100;
}

bool Row::targetMet() const {
  if (!measured())
    return false;
  switch (target.kind) {
    case Target::Kind::kOverheadPercent:
      return overheadPercent().value_or(0) <= target.limit;
    case Target::Kind::kOverheadMs:
      return median() - mandatedMs <= target.limit;
    case Target::Kind::kTimeMs:
    case Target::Kind::kMemoryMb:
      return median() < target.limit;
    case Target::Kind::kNone:
      return true;
  }
  return false;
}

std::string Row::targetText() const {
  switch (target.kind) {
    case Target::Kind::kOverheadPercent:
      return Format("overhead <= %g %%", target.limit);
    case Target::Kind::kOverheadMs:
      return Format("overhead <= %g ms", target.limit);
    case Target::Kind::kTimeMs:
      return Format("< %g ms", target.limit);
    case Target::Kind::kMemoryMb:
      return Format("< %g MB", target.limit);
    case Target::Kind::kNone:
      return {};
  }
  return {};
}

std::optional<double> Row::cpuPercent() const {
  if (cpuSamples.empty() || !measured() || median() <= 0)
    return std::nullopt;
  return Median(cpuSamples) / median() * 100;
}

bool Row::cpuTargetMet() const {
  const auto percent = cpuPercent();
  return percent && *percent <= kCpuPercentLimit;
}

Machine ThisMachine() {
  Machine machine;
  machine.cpu = FirstLineValue("/proc/cpuinfo", "model name");
  machine.cores = int(::sysconf(_SC_NPROCESSORS_ONLN));
  utsname names{};
  if (::uname(&names) == 0)
    machine.kernel = std::string(names.sysname) + " " + names.release;
  const std::string memory = FirstLineValue("/proc/meminfo", "MemTotal");  // "8022412 kB"
  machine.memoryGiB = std::strtod(memory.c_str(), nullptr) / (1024 * 1024);
  const std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
  machine.date = date;
  return machine;
}

std::string FormatTable(const std::vector<Row>& rows) {
  const std::vector<std::string> headings = {
      "operation", "mandated", "measured median", "overhead %", "target",
      "status",    "CPU time", "CPU % of wall",   "CPU target", "CPU status"};
  std::vector<std::vector<std::string>> cells = {headings};
  for (const Row& row : rows) {
    cells.push_back({row.operation, row.mandatedMs > 0 ? Format("%.0f ms", row.mandatedMs) : "-",
                     MeasuredText(row), OverheadText(row), row.targetText(), StatusText(row),
                     CpuTimeText(row), CpuPercentText(row), CpuTargetText(row),
                     CpuStatusText(row)});
  }
  std::vector<size_t> widths(headings.size(), 0);
  for (const auto& line : cells)
    for (size_t column = 0; column < line.size(); ++column)
      widths[column] = std::max(widths[column], line[column].size());
  std::string table;
  for (const auto& line : cells) {
    std::string text;
    for (size_t column = 0; column < line.size(); ++column) {
      text += line[column];
      if (column + 1 < line.size())
        text += std::string(widths[column] - line[column].size() + 2, ' ');
    }
    table += text + "\n";
  }
  return table;
}

std::string FormatJson(const std::vector<Row>& rows, const Machine& machine) {
  std::string json = "{\n  \"machine\": {";
  json += "\"cpu\": " + JsonText(machine.cpu);
  json += ", \"cores\": " + std::to_string(machine.cores);
  json += ", \"kernel\": " + JsonText(machine.kernel);
  json += ", \"memory_gib\": " + Format("%.1f", machine.memoryGiB);
  json += ", \"date\": " + JsonText(machine.date) + "},\n  \"rows\": [";
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"operation\": " + JsonText(row.operation);
    json += ", \"mandated_ms\": " + JsonNumber(row.mandatedMs);
    if (!row.measured()) {
      json += ", \"skipped\": " + JsonText(row.skipped.empty() ? "not measured" : row.skipped);
      json += "}";
      continue;
    }
    json += ", \"unit\": " + JsonText(IsMemory(row) ? "MB" : "ms");
    json += ", \"measured_median\": " + JsonNumber(row.median());
    json += ", \"samples\": " + JsonList(row.samples);
    const auto percent = row.overheadPercent();
    json += ", \"overhead_percent\": " + (percent ? JsonNumber(*percent) : std::string("null"));
    json += ", \"target\": " + JsonText(row.targetText());
    json += ", \"target_met\": ";
    json += row.target.kind == Target::Kind::kNone ? "null" : (row.targetMet() ? "true" : "false");
    if (const auto cpu = row.cpuPercent()) {
      json += ", \"cpu_ms_median\": " + JsonNumber(Median(row.cpuSamples));
      json += ", \"cpu_ms_samples\": " + JsonList(row.cpuSamples);
      json += ", \"cpu_percent\": " + JsonNumber(*cpu);
      json += ", \"cpu_target\": " + JsonText(CpuTargetText(row));
      json += ", \"cpu_target_met\": " + std::string(row.cpuTargetMet() ? "true" : "false");
    }
    json += "}";
  }
  return json + "\n  ]\n}\n";
}

}  // namespace vornik::bench
