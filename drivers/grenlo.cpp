// Stand-in for the device's port-arbitration library. Holding the port is holding an
// exclusive flock on a machine-wide lock file named after the port code, so a second holder
// (another copy of the panel, of any user, or the scanner driver) is refused until the
// first releases it.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::map<int, int>& HeldLocks() {
  static std::map<int, int> held;  // port code -> lock file descriptor
  return held;
}

// One lock per port for the whole machine, whoever holds it: a per-user folder would let
// two users hold the same port, a private file would refuse every user but its creator. The
// package has the system make the device's lock at boot, owned by root (vornik.tmpfiles), so
// no user can make it first.
std::string LockPath(int code) {
  struct stat info {};
  const bool runLock = ::stat("/run/lock", &info) == 0 && S_ISDIR(info.st_mode);
  return std::string(runLock ? "/run/lock" : "/tmp") + "/grenlo-port-" + std::to_string(code) +
         ".lock";
}

// Another user may have put something else at the lock's path first: a link is not followed
// and a FIFO does not block the open; only a regular file is a lock.
constexpr int kLockOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

int KeepIfRegularFile(int fd) {
  struct stat info {};
  if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Opens the port's lock file, creating it open to every user. An existing file is opened
// without O_CREAT, which a sticky shared folder refuses for another user's file; a file this
// user may not write is taken read-only, which flock accepts all the same.
int OpenLockFile(const std::string& path) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    int fd = ::open(path.c_str(), O_RDWR | kLockOpenFlags);
    if (fd < 0 && errno == EACCES)
      fd = ::open(path.c_str(), O_RDONLY | kLockOpenFlags);
    if (fd >= 0 || errno != ENOENT)
      return KeepIfRegularFile(fd);
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kLockOpenFlags, 0666);
    if (fd >= 0) {
      ::fchmod(fd, 0666);  // the creator's umask must not close the lock to others
      return fd;
    }
    if (errno != EEXIST)
      return -1;
    // Another process created it between the two opens: open the one it made.
  }
  return -1;
}

}  // namespace

EXPORT int PortAcquire(int code) {
  auto& held = HeldLocks();
  if (held.count(code) != 0)
    return 1;
  const int fd = OpenLockFile(LockPath(code));
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
