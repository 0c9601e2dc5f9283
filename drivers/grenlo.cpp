// Stand-in for the device's port-arbitration library. Holding the port is holding an
// exclusive flock on the lock of the device's port, so a second holder (another copy of the
// panel, of any user, or the scanner driver) is refused until the first releases it. The
// lock is the device's own: a program on another device is never held up.
//
// Which lock: the port the program names in VORNIK_USB_PORT is the device's port.
// - A character device (a USB printer port, a parallel port): its node in the kernel's
//   device tree, /sys/dev/char/MAJOR:MINOR, opened as a folder. No user can make, replace or
//   redirect anything there, whatever path names the device; only holding it holds the port.
//   (The device node itself cannot carry the lock: the printer drivers let only one open
//   stand at a time, and the program opens the port for every transfer.)
// - A bridge socket: a private lock file in the user's runtime folder named after the
//   socket's inode; the socket is its user's alone, so no one else can reach that device.
// - Nothing named (or the path names neither): the machine-wide lock file of the port code.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

int OpenDeviceNodeLock(const struct stat& device) {
  const std::string node = "/sys/dev/char/" + std::to_string(major(device.st_rdev)) + ":" +
                           std::to_string(minor(device.st_rdev));
  return ::open(node.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int OpenSocketLock(const struct stat& socket) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime != nullptr && *runtime == '/'
                                 ? std::string(runtime)
                                 : "/tmp/grenlo-" + std::to_string(::getuid());
  if (runtime == nullptr || *runtime != '/')
    ::mkdir(folder.c_str(), 0700);  // another user's folder of that name is refused below
  struct stat owner {};
  if (::lstat(folder.c_str(), &owner) != 0 || !S_ISDIR(owner.st_mode) ||
      owner.st_uid != ::getuid() || (owner.st_mode & 077) != 0)
    return -1;
  const std::string path = folder + "/grenlo-port-" + std::to_string(socket.st_dev) + "-" +
                           std::to_string(socket.st_ino) + ".lock";
  return KeepIfRegularFile(::open(path.c_str(), O_RDWR | O_CREAT | kLockOpenFlags, 0600));
}

int OpenPortLock(int code) {
  const char* port = std::getenv("VORNIK_USB_PORT");
  struct stat device {};
  if (port != nullptr && *port != '\0' && ::stat(port, &device) == 0) {
    if (S_ISCHR(device.st_mode))
      return OpenDeviceNodeLock(device);
    if (S_ISSOCK(device.st_mode))
      return OpenSocketLock(device);
  }
  return OpenLockFile(LockPath(code));
}

}  // namespace

EXPORT int PortAcquire(int code) {
  auto& held = HeldLocks();
  if (held.count(code) != 0)
    return 1;
  const int fd = OpenPortLock(code);
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
