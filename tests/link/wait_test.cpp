#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/spin_delay.h"
#include "platform/fake_platform.h"

namespace vornik::test {
namespace {

// The fake clock's reading at every run of the wait hook.
platform::FakeClock* watchedClock = nullptr;
std::vector<uint32_t> hookTimes;

void RecordHook() {
  hookTimes.push_back(watchedClock->now);
}

// A wait sleeps until its end on the tick counter, never less, with the wait hook run at
// least once a slice and no more than a few polls of the counter.
TEST(Waits, SleepToTheirEndRunningTheWaitHookEverySlice) {
  const struct {
    const char* name;
    uint32_t (*wait)(uint32_t ms);  // returns the milliseconds it reports as passed
    uint32_t startTick;
    uint32_t step;
    uint32_t ms;
  } rows[] = {
      {"SpinDelay", SpinDelay, 0, 1, 1500},
      {"SpinDelay, coarse counter", SpinDelay, 0, 7, 1000},
      {"SpinDelay across the counter's wrap", SpinDelay, 0xFFFFFF00u, 3, 2000},
      {"SpinDelay shorter than a slice", SpinDelay, 0, 1, 30},
      {"SpinDelayUntil", [](uint32_t ms) { return SpinDelayUntil(ms), ms; }, 100, 1, 500},
      {"SpinDelayUntil, coarse counter", [](uint32_t ms) { return SpinDelayUntil(ms), ms; }, 100, 9,
       500},
      {"a pause", [](uint32_t ms) { return platform::SleepInSlices(ms), ms; }, 0, 1, 5000},
  };
  for (const auto& row : rows) {
    platform::FakePlatform fake;
    platform::Services().waitHook = RecordHook;
    watchedClock = &fake.clock;
    hookTimes.clear();
    fake.clock.now = row.startTick;
    fake.clock.step = row.step;

    const uint32_t reported = row.wait(row.ms);

    const uint32_t took = fake.clock.now - row.startTick;
    EXPECT_GE(took, row.ms) << row.name;
    EXPECT_GE(reported, row.ms) << row.name;
    EXPECT_LE(reported, took) << row.name;
    const uint64_t polls = (took - fake.clock.slept) / row.step;
    EXPECT_LE(polls, row.ms / platform::kWaitSliceMs + 3) << row.name;
    std::vector<uint32_t> marks{row.startTick};
    marks.insert(marks.end(), hookTimes.begin(), hookTimes.end());
    marks.push_back(fake.clock.now);
    for (size_t i = 1; i < marks.size(); ++i)
      EXPECT_LE(marks[i] - marks[i - 1], platform::kWaitSliceMs + 2 * row.step) << row.name;
  }
}

}  // namespace
}  // namespace vornik::test
