// Blocking-with-deadline transfers on a file descriptor opened non-blocking.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include <sys/types.h>

namespace platform {

using SteadyClock = std::chrono::steady_clock;
using Deadline = std::optional<SteadyClock::time_point>;  // nullopt: wait for ever

inline SteadyClock::time_point MsFromNow(uint32_t ms) {
  return SteadyClock::now() + std::chrono::milliseconds(ms);
}

// Waits until the descriptor is ready for `events` (POLLIN/POLLOUT) or the deadline
// passes; true when ready (a hang-up or error counts as ready, so the next call sees it).
bool WaitReady(int fd, short events, Deadline deadline);

// Runs `transfer` (one read or write on `fd`) until it moves bytes, reaches the end of the
// file or fails, waiting for readiness between tries in slices shorter than `kWaitSliceMs`
// with the wait hook run before each; returns its result, or 0 when the deadline passed
// first.
ssize_t TransferWhenReady(int fd, short events, Deadline deadline,
                          const std::function<ssize_t()>& transfer);

// Writes all `count` bytes unless the deadline passes or the descriptor fails; returns the
// number written.
size_t WriteAll(int fd, const uint8_t* bytes, size_t count, Deadline deadline);

// Reads exactly `count` bytes unless the deadline passes, the peer closes or the
// descriptor fails; returns the number read.
size_t ReadAll(int fd, uint8_t* buffer, size_t count, Deadline deadline);

}  // namespace platform
