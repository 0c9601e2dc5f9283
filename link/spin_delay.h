// The fixed waits of the device exchange, kept on the millisecond tick counter. They sleep
// in slices until the counter reaches their end, running the wait hook between slices, so
// a wait costs no processor time and is never shorter than its count of ticks.
#pragma once

#include <cstdint>

namespace vornik {

// Waits until at least `ms` have passed on the tick counter (the unsigned 32-bit
// difference, so a counter wrap does not shorten the wait); returns the milliseconds that
// passed.
uint32_t SpinDelay(uint32_t ms);

// Waits until the tick counter reaches entry + `ms` (32-bit). When that sum wraps past the
// top of the counter the wait ends at once, as the device's original timing did.
void SpinDelayUntil(uint32_t ms);

}  // namespace vornik
