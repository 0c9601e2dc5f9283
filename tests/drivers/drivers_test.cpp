// The driver stand-ins loaded the way the panel loads them, by file, through dlopen.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

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

TEST(Grenlo, SecondHolderOfThePortIsRefusedUntilRelease) {
  const auto dir = std::filesystem::temp_directory_path() / ("grenlo-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  Driver grenlo(GRENLO_PATH);
  ASSERT_TRUE(grenlo.loaded());
  auto acquire = grenlo.get<int (*)(int)>("PortAcquire");
  auto release = grenlo.get<int (*)(int)>("PortRelease");
  ASSERT_TRUE(acquire && release);

  // Another process's hold, as a lock on the same file.
  const std::string lockPath = (dir / "grenlo-port-8.lock").string();
  const int other = open(lockPath.c_str(), O_RDWR | O_CREAT, 0666);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(acquire(8), 0);
  flock(other, LOCK_UN);

  EXPECT_NE(acquire(8), 0);
  EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0);  // now the panel holds it
  EXPECT_NE(release(8), 0);
  EXPECT_EQ(release(8), 0);  // nothing left to release
  EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  close(other);
  std::filesystem::remove_all(dir);
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
