#include "link/spin_delay.h"

#include "platform/platform.h"

namespace vornik {

// The counter is read again after every slice: a sleep may end late, never early, and
// the wait ends on the counter alone.
uint32_t SpinDelay(uint32_t ms) {
  auto& clock = *platform::Services().clock;
  const uint32_t start = clock.tickCount();
  for (;;) {
    const uint32_t elapsed = clock.tickCount() - start;
    if (elapsed >= ms)
      return elapsed;
    platform::SleepSlice(ms - elapsed);
  }
}

void SpinDelayUntil(uint32_t ms) {
  auto& clock = *platform::Services().clock;
  const uint32_t target = clock.tickCount() + ms;
  for (uint32_t now = clock.tickCount(); now < target; now = clock.tickCount())
    platform::SleepSlice(target - now);
}

}  // namespace vornik
