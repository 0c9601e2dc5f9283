#include "link/spin_delay.h"

#include "platform/platform.h"

namespace vornik {

uint32_t SpinDelay(uint32_t ms) {
  auto& clock = *platform::Services().clock;
  const uint32_t start = clock.tickCount();
  uint32_t elapsed = 0;
  do {
    elapsed = clock.tickCount() - start;
  } while (elapsed < ms);
  return elapsed;
}

void SpinDelayUntil(uint32_t ms) {
  auto& clock = *platform::Services().clock;
  const uint32_t target = clock.tickCount() + ms;
  while (clock.tickCount() < target) {
  }
}

}  // namespace vornik
