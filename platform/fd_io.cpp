#include "platform/fd_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {
namespace {

// A device without readiness of its own (the parallel printer port) always polls ready and
// refuses a busy transfer with EAGAIN, so the retry must watch the deadline itself.
bool Passed(Deadline deadline) {
  return deadline && SteadyClock::now() >= *deadline;
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

size_t WriteAll(int fd, const uint8_t* bytes, size_t count, Deadline deadline) {
  size_t done = 0;
  while (done < count) {
    if (!WaitReady(fd, POLLOUT, deadline))
      break;
    // A socket whose peer went away fails the write instead of raising SIGPIPE.
    ssize_t n = ::send(fd, bytes + done, count - done, MSG_NOSIGNAL);
    if (n < 0 && errno == ENOTSOCK)
      n = ::write(fd, bytes + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      if (Passed(deadline))
        break;
      continue;
    } else {
      break;
    }
  }
  return done;
}

size_t ReadAll(int fd, uint8_t* buffer, size_t count, Deadline deadline) {
  size_t done = 0;
  while (done < count) {
    if (!WaitReady(fd, POLLIN, deadline))
      break;
    const ssize_t n = ::read(fd, buffer + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      if (Passed(deadline))
        break;
      continue;
    } else {
      break;  // end of file or error
    }
  }
  return done;
}

}  // namespace platform
