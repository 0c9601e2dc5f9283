#include <gmock/gmock.h>

#include <optional>

#include "bench/bench_table.h"

namespace vornik::bench {
namespace {

using testing::ContainsRegex;
using testing::HasSubstr;

Row Measured(Target target, double mandatedMs, std::vector<double> samples) {
  Row row;
  row.operation = "op";
  row.mandatedMs = mandatedMs;
  row.target = target;
  row.samples = std::move(samples);
  return row;
}

TEST(BenchTable, MedianIsTheMiddleSampleOrTheMeanOfTheTwoMiddleOnes) {
  EXPECT_DOUBLE_EQ(Measured({}, 0, {3, 1, 2}).median(), 2);
  EXPECT_DOUBLE_EQ(Measured({}, 0, {4, 1, 3, 2}).median(), 2.5);
  EXPECT_DOUBLE_EQ(Measured({}, 0, {7}).median(), 7);
  EXPECT_DOUBLE_EQ(Measured({}, 0, {}).median(), 0);
}

TEST(BenchTable, OverheadIsWhatTheMedianAddsToTheMandatedWaits) {
  EXPECT_DOUBLE_EQ(*Measured({}, 1000, {1010, 1020, 1030}).overheadPercent(), 2);
  EXPECT_DOUBLE_EQ(*Measured({}, 1000, {995}).overheadPercent(), -0.5);
  EXPECT_FALSE(Measured({}, 0, {0.2}).overheadPercent());  // no mandated waits
  EXPECT_FALSE(Measured({Target::Kind::kMemoryMb, 40}, 0, {30}).overheadPercent());
  Row skipped = Measured({}, 1000, {1010});
  skipped.skipped = "the device did not answer";
  EXPECT_FALSE(skipped.overheadPercent());
}

TEST(BenchTable, EachTargetKindIsMetUpToItsLimit) {
  const struct {
    Target target;
    double mandatedMs;
    double measured;
    bool met;
  } cases[] = {
      {{Target::Kind::kOverheadPercent, 2}, 1500, 1530, true},
      {{Target::Kind::kOverheadPercent, 2}, 1500, 1530.1, false},
      {{Target::Kind::kOverheadMs, 100}, 3000, 3100, true},
      {{Target::Kind::kOverheadMs, 100}, 3000, 3100.5, false},
      {{Target::Kind::kTimeMs, 1}, 0, 0.99, true},
      {{Target::Kind::kTimeMs, 1}, 0, 1, false},
      {{Target::Kind::kMemoryMb, 40}, 0, 39.9, true},
      {{Target::Kind::kMemoryMb, 40}, 0, 40, false},
      {{Target::Kind::kNone, 0}, 0, 1e9, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Measured(c.target, c.mandatedMs, {c.measured}).targetMet(), c.met)
        << Measured(c.target, c.mandatedMs, {}).targetText() << " at " << c.measured;
  }
  Row skipped = Measured({Target::Kind::kTimeMs, 1}, 0, {0.1});
  skipped.skipped = "vornikctl is not built";
  EXPECT_FALSE(skipped.targetMet());
  EXPECT_FALSE(Measured({Target::Kind::kTimeMs, 1}, 0, {}).targetMet());
}

TEST(BenchTable, ProcessorTimeIsHeldToItsShareOfTheMeasuredMedian) {
  const struct {
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
    std::optional<double> percent;
    bool met;
  } cases[] = {
      {{1000, 3000, 2000}, {1990, 10, 20}, 1, true},  // the medians, not the pairs
      {{1000}, {50}, 5, true},
      {{1000}, {50.1}, 5.01, false},
      {{1500, 1500}, {1500, 1425}, 97.5, false},
      {{1000}, {}, std::nullopt, false},  // not taken
      {{}, {10}, std::nullopt, false},    // nothing measured
  };
  for (const auto& c : cases) {
    Row row = Measured({Target::Kind::kOverheadPercent, 2}, 1000, c.wallMs);
    row.cpuSamples = c.cpuMs;
    EXPECT_EQ(row.cpuPercent(), c.percent) << testing::PrintToString(c.cpuMs);
    EXPECT_EQ(row.cpuTargetMet(), c.met) << testing::PrintToString(c.cpuMs);
  }
  Row skipped = Measured({}, 1000, {1010});
  skipped.cpuSamples = {1};
  skipped.skipped = "the device did not answer";
  EXPECT_FALSE(skipped.cpuPercent());
}

TEST(BenchTable, TableShowsEveryRowWithItsStatus) {
  Row inquiry = Measured({Target::Kind::kOverheadPercent, 2}, 1500, {1503, 1501, 1502});
  inquiry.operation = "inquiry";
  inquiry.cpuSamples = {1495, 1490, 1500};
  Row firmware = Measured({Target::Kind::kOverheadPercent, 2}, 45500, {45600});
  firmware.operation = "firmware";
  firmware.cpuSamples = {91.2};
  Row memory = Measured({Target::Kind::kMemoryMb, 40}, 0, {41.3});
  memory.operation = "panel peak RSS";
  Row ctl = Measured({Target::Kind::kNone, 0}, 0, {});
  ctl.operation = "vornikctl CSV export";
  ctl.skipped = "vornikctl is not built";
  const std::string table = FormatTable({inquiry, firmware, memory, ctl});

  EXPECT_THAT(table, HasSubstr("operation"));
  EXPECT_THAT(table, HasSubstr("overhead %"));
  EXPECT_THAT(table, HasSubstr("1500 ms"));
  EXPECT_THAT(table, HasSubstr("1502.0 ms"));
  EXPECT_THAT(table, HasSubstr("0.13 % (+2.0 ms)"));
  EXPECT_THAT(table, HasSubstr("overhead <= 2 %  met"));
  EXPECT_THAT(table, HasSubstr("CPU % of wall"));
  EXPECT_THAT(table, ContainsRegex("\ninquiry .* met +1495.0 ms +99.53 % +<= 5 % +MISSED\n"));
  EXPECT_THAT(table, ContainsRegex("\nfirmware .* met +91.20 ms +0.20 % +<= 5 % +met\n"));
  EXPECT_THAT(table, ContainsRegex("\npanel peak RSS .* MISSED +- +- +-\n"));
  EXPECT_THAT(table, HasSubstr("41.3 MB"));
  EXPECT_THAT(table, HasSubstr("< 40 MB"));
  EXPECT_THAT(table, HasSubstr("MISSED"));
  EXPECT_THAT(table, HasSubstr("skipped: vornikctl is not built"));
}

TEST(BenchTable, JsonCarriesTheMachineEveryRowAndEscapesTexts) {
  Row pbf = Measured({Target::Kind::kTimeMs, 1}, 0, {0.02, 0.03});
  pbf.operation = ".PBF \"load\"";
  Row inquiry = Measured({Target::Kind::kOverheadPercent, 2}, 1500, {1500, 1502});
  inquiry.cpuSamples = {3, 4};
  Row ctl;
  ctl.operation = "vornikctl CSV import";
  ctl.skipped = "no\\program\n";
  const Machine machine = {.cpu = "Test CPU",
                           .cores = 2,
                           .kernel = "Linux 6",
                           .memoryGiB = 8,
                           .date = "2024-01-01T00:00:00Z"};
  const std::string json = FormatJson({pbf, inquiry, ctl}, machine);

  EXPECT_THAT(json, HasSubstr("\"cpu\": \"Test CPU\", \"cores\": 2"));
  EXPECT_THAT(json, HasSubstr("\"operation\": \".PBF \\\"load\\\"\""));
  EXPECT_THAT(json, HasSubstr("\"unit\": \"ms\", \"measured_median\": 0.025"));
  EXPECT_THAT(json, HasSubstr("\"samples\": [0.02, 0.03]"));
  EXPECT_THAT(json, HasSubstr("\"overhead_percent\": null"));
  EXPECT_THAT(json, HasSubstr("\"target\": \"< 1 ms\", \"target_met\": true}"));
  EXPECT_THAT(json, HasSubstr("\"skipped\": \"no\\\\program\\u000a\""));
  EXPECT_THAT(json,
              HasSubstr("\"target_met\": true, \"cpu_ms_median\": 3.5, \"cpu_ms_samples\": [3, 4], "
                        "\"cpu_percent\": 0.233178, \"cpu_target\": \"<= 5 %\", "
                        "\"cpu_target_met\": true}"));
}

}  // namespace
}  // namespace vornik::bench
