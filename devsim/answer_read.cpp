#include "devsim/answer_read.h"

#include <algorithm>

namespace devsim {

DeviceModel::TakeResult ReadAnswer(DeviceModel& model, uint8_t* buffer, size_t count,
                                   uint32_t intervalMs, uint32_t totalMs, ReadWaiter& waiter) {
  const uint32_t start = waiter.now();
  uint32_t lastByteAt = start;
  size_t got = 0;
  for (;;) {
    const uint32_t now = waiter.now();
    const auto taken = model.take(buffer + got, count - got, now);
    if (taken.dropped)
      return {0, true};
    if (taken.count > 0) {
      got += taken.count;
      lastByteAt = now;
    }
    if (got == count)
      break;
    const uint32_t elapsed = now - start;
    if (elapsed >= totalMs)
      break;
    uint32_t wait = totalMs - elapsed;
    if (got > 0 && intervalMs != 0) {
      const uint32_t gap = now - lastByteAt;
      if (gap >= intervalMs)
        break;
      wait = std::min(wait, intervalMs - gap);
    }
    if (const auto ready = model.msUntilReady(now))
      wait = std::min(wait, std::max(*ready, 1u));
    if (!waiter.wait(wait))
      break;
  }
  return {got, false};
}

}  // namespace devsim
