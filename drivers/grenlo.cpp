// Stand-in for the device's port-arbitration library. Holding the port is holding an
// exclusive flock on a lock file named after the port code, so a second holder (another
// copy of the panel, or the scanner driver) is refused until the first releases it.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::map<int, int>& HeldLocks() {
  static std::map<int, int> held;  // port code -> lock file descriptor
  return held;
}

std::string LockPath(int code) {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  std::string path = dir != nullptr && *dir != '\0' ? dir : "/tmp";
  return path + "/grenlo-port-" + std::to_string(code) + ".lock";
}

}  // namespace

EXPORT int PortAcquire(int code) {
  auto& held = HeldLocks();
  if (held.count(code) != 0)
    return 1;
  const int fd = ::open(LockPath(code).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    return 0;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return 0;
  }
  held[code] = fd;
  return 1;
}

EXPORT int PortRelease(int code) {
  auto& held = HeldLocks();
  const auto it = held.find(code);
  if (it == held.end())
    return 0;
  ::flock(it->second, LOCK_UN);
  ::close(it->second);
  held.erase(it);
  return 1;
}
