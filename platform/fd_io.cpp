#include "platform/fd_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/platform.h"

namespace platform {
namespace {

// Some ports never report readiness through poll (the parallel port drivers: the printer
// port always polls ready and refuses a busy transfer, the ECP port driver polls readable
// only after an interrupt and never writable). So a transfer is always tried, and between
// tries the wait for readiness lasts at most this long.
constexpr auto kRetrySlice = std::chrono::milliseconds(20);
constexpr auto kRefusedPause = std::chrono::milliseconds(2);

bool Passed(Deadline deadline) {
  return deadline && SteadyClock::now() >= *deadline;
}

// A socket whose peer went away fails the write instead of raising SIGPIPE.
ssize_t WriteOnce(int fd, const uint8_t* bytes, size_t count) {
  const ssize_t n = ::send(fd, bytes, count, MSG_NOSIGNAL);
  return n < 0 && errno == ENOTSOCK ? ::write(fd, bytes, count) : n;
}

}  // namespace

bool WaitReady(int fd, short events, Deadline deadline) {
  for (;;) {
    int timeoutMs = -1;
    if (deadline) {
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(*deadline - SteadyClock::now());
      timeoutMs = static_cast<int>(std::max<int64_t>(0, left.count()));
    }
    pollfd pfd{fd, events, 0};
    const int ready = ::poll(&pfd, 1, timeoutMs);
    if (ready > 0)
      return true;
    if (ready == 0)
      return false;
    if (errno != EINTR)
      return false;
  }
}

ssize_t TransferWhenReady(int fd, short events, Deadline deadline,
                          const std::function<ssize_t()>& transfer) {
  bool polledReady = false;
  for (;;) {
    const ssize_t n = transfer();
    if (n >= 0 || (errno != EAGAIN && errno != EINTR))
      return n;
    if (Passed(deadline))
      return 0;
    // A port that polled ready yet refused must not be asked again at once. One that tells
    // its readiness (a socket) is only waited for: its answer is taken as soon as it comes.
    if (polledReady)
      std::this_thread::sleep_for(kRefusedPause);
    // The wait hook runs between the slices, so a silent device never holds the window.
    WhileWaiting();
    Deadline slice = SteadyClock::now() + kRetrySlice;
    if (deadline && *deadline < *slice)
      slice = deadline;
    polledReady = WaitReady(fd, events, slice);
  }
}

size_t WriteAll(int fd, const uint8_t* bytes, size_t count, Deadline deadline) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = TransferWhenReady(fd, POLLOUT, deadline,
                                        [&] { return WriteOnce(fd, bytes + done, count - done); });
    if (n <= 0)
      break;
    done += static_cast<size_t>(n);
  }
  return done;
}

size_t ReadAll(int fd, uint8_t* buffer, size_t count, Deadline deadline) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = TransferWhenReady(fd, POLLIN, deadline,
                                        [&] { return ::read(fd, buffer + done, count - done); });
    if (n <= 0)
      break;  // time-out, end of file or error
    done += static_cast<size_t>(n);
  }
  return done;
}

}  // namespace platform
