// The fixed waits of the device exchange: busy waits on the millisecond tick counter that
// do not yield (the window does not repaint during them).
#pragma once

#include <cstdint>

namespace vornik {

// Polls the tick counter until at least `ms` have passed (the unsigned 32-bit difference,
// so a counter wrap does not shorten the wait); returns the milliseconds that passed.
uint32_t SpinDelay(uint32_t ms);

// Polls until the tick counter reaches entry + `ms` (32-bit). When that sum wraps past the
// top of the counter the wait ends at once, as the device's original timing did.
void SpinDelayUntil(uint32_t ms);

}  // namespace vornik
