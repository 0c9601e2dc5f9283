// The driver stand-ins loaded the way the panel loads them, by file, through dlopen.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/device_port.h"

namespace {

class Driver {
 public:
  explicit Driver(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
  ~Driver() {
    if (handle_)
      dlclose(handle_);
  }
  template <typename Fn>
  Fn get(const char* name) {
    return reinterpret_cast<Fn>(handle_ ? dlsym(handle_, name) : nullptr);
  }
  bool loaded() const { return handle_ != nullptr; }

 private:
  void* handle_;
};

// A port code of this test run's own, so that a running panel's lock is never touched.
int PrivatePortCode() {
  return 50000 + getpid() % 10000;
}

std::string LockPathOf(int code) {
  const bool runLock = std::filesystem::is_directory("/run/lock");
  return std::string(runLock ? "/run/lock" : "/tmp") + "/grenlo-port-" + std::to_string(code) +
         ".lock";
}

constexpr uid_t kOtherUser = 65534;
constexpr uid_t kThirdUser = 65533;

// Runs `act` in a child process of user `uid`, whose per-user folders differ from this
// process's; returns its result (0 to 99), or -1 when the child could not be made or did not
// end within 5 s.
int AsUser(uid_t uid, const std::function<int()>& act) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(5);
    setenv("XDG_RUNTIME_DIR", "/nonexistent-other-user", 1);
    if (setgid(uid) != 0 || setuid(uid) != 0)
      _exit(100);
    _exit(act());
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) > 99)
    return -1;
  return WEXITSTATUS(status);
}

int AcquireAs(uid_t uid, int code) {
  return AsUser(uid, [code] {
    Driver grenlo(GRENLO_PATH);
    auto acquire = grenlo.get<int (*)(int)>("PortAcquire");
    return acquire != nullptr && acquire(code) != 0 ? 1 : 0;
  });
}

TEST(Grenlo, OneLockPerPortSharedByEveryUserOfTheMachine) {
  const int code = PrivatePortCode();
  const std::string lockPath = LockPathOf(code);
  std::filesystem::remove(lockPath);
  Driver grenlo(GRENLO_PATH);
  ASSERT_TRUE(grenlo.loaded());
  auto acquire = grenlo.get<int (*)(int)>("PortAcquire");
  auto release = grenlo.get<int (*)(int)>("PortRelease");
  ASSERT_TRUE(acquire && release);

  // Another process's hold, as a lock on the same file, whatever this user's own folders.
  setenv("XDG_RUNTIME_DIR", "/nonexistent-this-user", 1);
  const int other = open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(acquire(code), 0);
  flock(other, LOCK_UN);
  close(other);
  std::filesystem::remove(lockPath);

  // The panel creates the lock open to every user, whatever its umask.
  const mode_t oldMask = umask(077);
  EXPECT_NE(acquire(code), 0);
  umask(oldMask);
  EXPECT_EQ(std::filesystem::status(lockPath).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0666));
  const int probe = open(lockPath.c_str(), O_RDONLY);
  EXPECT_NE(flock(probe, LOCK_EX | LOCK_NB), 0);  // now the panel holds it
  close(probe);
  EXPECT_NE(release(code), 0);

  if (geteuid() == 0) {
    // This user's hold keeps the other user out, and the other takes the port once free,
    // even from a lock file it may only read.
    const int hold = open(lockPath.c_str(), O_RDONLY);
    ASSERT_EQ(flock(hold, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(AcquireAs(kOtherUser, code), 0);
    close(hold);
    EXPECT_EQ(AcquireAs(kOtherUser, code), 1);
    chmod(lockPath.c_str(), 0644);
    EXPECT_EQ(AcquireAs(kOtherUser, code), 1);
  }
  EXPECT_EQ(release(code), 0);  // nothing left to release
  std::filesystem::remove(lockPath);
}

// What another user put at the lock's path first keeps the port busy, and no more: a FIFO
// does not hang the open, a link to this user's own file is not followed.
TEST(Grenlo, ALockPathTakenFirstByAnotherUserNeitherHangsNorIsFollowed) {
  if (geteuid() != 0)
    GTEST_SKIP() << "other users are needed";
  const int code = PrivatePortCode();
  const std::string lockPath = LockPathOf(code);
  const std::string ownFile = "/tmp/vornik-own-" + std::to_string(getpid());
  const struct {
    const char* what;
    std::function<int()> squat;
  } rows[] = {
      {"FIFO", [&] { return mkfifo(lockPath.c_str(), 0644) == 0 ? 0 : 1; }},
      {"link", [&] { return symlink(ownFile.c_str(), lockPath.c_str()) == 0 ? 0 : 1; }},
  };
  for (const auto& row : rows) {
    std::filesystem::remove(lockPath);
    std::filesystem::remove(ownFile);
    const int own = open(ownFile.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(own, 0);
    ASSERT_EQ(fchown(own, kThirdUser, kThirdUser), 0);
    close(own);
    ASSERT_EQ(AsUser(kOtherUser, row.squat), 0) << row.what;
    EXPECT_EQ(AcquireAs(kThirdUser, code), 0) << row.what;
    // Nobody holds a lock on the file the link names.
    const int probe = open(ownFile.c_str(), O_RDONLY);
    EXPECT_EQ(flock(probe, LOCK_EX | LOCK_NB), 0) << row.what;
    close(probe);
  }
  std::filesystem::remove(lockPath);
  std::filesystem::remove(ownFile);
}

// A named character device is locked at its node in the kernel's device tree, which no user
// can make or replace: the device held refuses every other holder, another device does not.
TEST(Grenlo, ANamedDeviceIsLockedAtItsOwnKernelNode) {
  if (geteuid() != 0)
    GTEST_SKIP() << "other users are needed";
  const int code = PrivatePortCode();
  // The child inherits this process's loaded library and its holds: it asks with a code of
  // its own, the lock being the device's whatever the code.
  const auto acquireAsOther = [code](const char* port) {
    return AsUser(kOtherUser, [code, port] {
      setenv("VORNIK_USB_PORT", port, 1);
      Driver grenlo(GRENLO_PATH);
      auto acquire = grenlo.get<int (*)(int)>("PortAcquire");
      return acquire != nullptr && acquire(code + 1) != 0 ? 1 : 0;
    });
  };
  setenv("VORNIK_USB_PORT", "/dev/null", 1);
  Driver grenlo(GRENLO_PATH);
  auto acquire = grenlo.get<int (*)(int)>("PortAcquire");
  auto release = grenlo.get<int (*)(int)>("PortRelease");
  ASSERT_TRUE(acquire && release);
  ASSERT_NE(acquire(code), 0);
  EXPECT_FALSE(std::filesystem::exists(LockPathOf(code)));
  EXPECT_EQ(acquireAsOther("/dev/null"), 0);
  EXPECT_EQ(acquireAsOther("/dev/zero"), 1);
  EXPECT_NE(release(code), 0);
  EXPECT_EQ(acquireAsOther("/dev/null"), 1);
  unsetenv("VORNIK_USB_PORT");
}

// The lock the system makes at boot is the one the panel takes, root's and open to all.
TEST(Grenlo, TheLockMadeAtBootIsTheDevicePortsLock) {
  std::ifstream conf(LOCK_TMPFILES);
  std::string line, entries;
  while (std::getline(conf, line))
    if (!line.empty() && line[0] != '#')
      entries += line + "\n";
  EXPECT_EQ(entries, "f /run/lock/grenlo-port-" + std::to_string(vornik::kDevicePortCode) +
                         ".lock 0666 root root -\n");
}

TEST(Tarquil, NamesTheBridgePortAndMovesBlocksThroughIt) {
  int master = -1, slave = -1;
  char name[256];
  termios raw{};
  cfmakeraw(&raw);
  ASSERT_EQ(openpty(&master, &slave, name, &raw, nullptr), 0);
  setenv("VORNIK_USB_PORT", name, 1);

  Driver tarquil(TARQUIL_PATH);
  ASSERT_TRUE(tarquil.loaded());
  auto portName = tarquil.get<void (*)(char*, uint32_t)>("GetControlPortName");
  auto usbWrite = tarquil.get<uint32_t (*)(const uint8_t*, uint32_t)>("Win2kUsbWrite");
  auto usbRead = tarquil.get<uint32_t (*)(uint8_t*, uint32_t)>("Win2kUsbRead");
  ASSERT_TRUE(portName && usbWrite && usbRead);

  char buffer[256];
  std::memset(buffer, 'x', sizeof buffer);
  portName(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, name);
  char tiny[4];
  portName(tiny, sizeof tiny);  // cut to the buffer, still terminated
  EXPECT_EQ(std::strlen(tiny), 3u);

  const uint8_t request[] = {0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0};
  EXPECT_EQ(usbWrite(request, sizeof request), sizeof request);
  uint8_t arrived[16] = {};
  EXPECT_EQ(read(master, arrived, sizeof arrived), ssize_t(sizeof request));
  EXPECT_EQ(std::memcmp(arrived, request, sizeof request), 0);

  ASSERT_EQ(write(master, "\x1B\xA4\x00\x06\x50", 5), 5);
  uint8_t answer[10] = {};
  EXPECT_EQ(usbRead(answer, sizeof answer), 5u);
  EXPECT_EQ(answer[1], 0xA4);

  unsetenv("VORNIK_USB_PORT");
  close(master);
  close(slave);
}

TEST(Fendrel, OnlyNamesTheControlPort) {
  setenv("VORNIK_USB_PORT", "/run/vornik-test.sock", 1);
  Driver fendrel(FENDREL_PATH);
  ASSERT_TRUE(fendrel.loaded());
  auto portName = fendrel.get<void (*)(char*, uint32_t)>("GetControlPortName");
  ASSERT_NE(portName, nullptr);
  EXPECT_EQ(fendrel.get<void*>("Win2kUsbWrite"), nullptr);
  char buffer[256];
  portName(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "/run/vornik-test.sock");
  unsetenv("VORNIK_USB_PORT");
}

}  // namespace
