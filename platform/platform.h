// The services the program asks of its operating system, one small interface each,
// reached through one process-wide seam (`Services()`) that tests replace with fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Millisecond tick counter and sleep.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, as a 32-bit value that wraps around.
  virtual uint32_t tickCount() = 0;
  // Gives up the processor for at least `ms` milliseconds.
  virtual void sleep(uint32_t ms) = 0;
};

// The debug output: one call writes one piece of text, exactly as given.
class DebugSink {
 public:
  virtual ~DebugSink() = default;
  virtual void write(std::string_view text) = 0;
};

// Serial-style time-outs of an open device, in milliseconds. A read gives up when the gap
// between two bytes exceeds `readInterval` (0: no interval limit) or when the whole read
// has taken `readTotalConstant + readTotalMultiplier * count` (0 and 0: no total limit).
struct CommTimeouts {
  uint32_t readInterval = 0;
  uint32_t readTotalMultiplier = 0;
  uint32_t readTotalConstant = 0;
  uint32_t writeTotalMultiplier = 0;
  uint32_t writeTotalConstant = 0;
};

// A read on a handle whose time-outs were never set gives up after this long: a silent
// device must never hang the window.
inline constexpr uint32_t kDefaultReadTotalMs = 3000;

// An interval of this value with both total values 0 makes a read return at once with the
// bytes the device already holds, as on Windows: a read that must not wait.
inline constexpr uint32_t kReadIntervalReturnAtOnce = UINT32_MAX;

// How long a read of `count` bytes may take in all on a handle with these time-outs.
inline uint32_t ReadTotalMs(const CommTimeouts& t, size_t count) {
  const uint64_t total = uint64_t(t.readTotalConstant) + uint64_t(t.readTotalMultiplier) * count;
  if (total == 0)
    return t.readInterval == kReadIntervalReturnAtOnce ? 0 : kDefaultReadTotalMs;
  return total > UINT32_MAX ? UINT32_MAX : uint32_t(total);
}

enum Access : unsigned { kAccessRead = 1, kAccessWrite = 2 };
enum Share : unsigned { kShareNone = 0, kShareRead = 1, kShareWrite = 2 };

// One open device. Closing is destroying the object.
class DeviceFile {
 public:
  virtual ~DeviceFile() = default;
  // Writes the block; returns the number of bytes the device accepted (0 on failure).
  virtual size_t write(const uint8_t* bytes, size_t count) = 0;
  // Reads up to `count` bytes within the handle's time-outs; returns how many arrived
  // (0 on failure or when none arrived in time).
  virtual size_t read(uint8_t* buffer, size_t count) = 0;
  // False when the device has no serial-style time-outs to read.
  virtual bool getTimeouts(CommTimeouts& timeouts) = 0;
  virtual bool setTimeouts(const CommTimeouts& timeouts) = 0;
  // A device-control request with an input buffer and no output; true on success.
  virtual bool control(uint32_t code, const uint8_t* input, size_t size) = 0;
};

class DeviceFiles {
 public:
  virtual ~DeviceFiles() = default;
  // Opens an existing device by its program name ("LPT1", "\\.\HarnEcp1", a USB control
  // port name, or a path). Null when it does not exist, is busy or refuses.
  virtual std::unique_ptr<DeviceFile> open(const std::string& name, unsigned access,
                                           unsigned share) = 0;
  // True when the device named exists but this user may not open it for reading and
  // writing (its permissions refuse).
  virtual bool accessDenied(const std::string& name) = 0;
};

// A loaded library; unloading is destroying the object.
class Library {
 public:
  virtual ~Library() = default;
  // The address of an export, or null when the library has none of that name.
  virtual void* symbol(const char* name) = 0;
};

class Libraries {
 public:
  virtual ~Libraries() = default;
  // Loads a library by its file name ("grenlo.dll"); null when it cannot be loaded.
  virtual std::unique_ptr<Library> load(const std::string& fileName) = 0;
};

// The answer of the version query.
struct OsVersion {
  bool ok = false;
  uint32_t platformId = 0;  // 1: the Windows 98 family, 2: the NT family
  uint32_t majorVersion = 0;
};

class System {
 public:
  virtual ~System() = default;
  virtual OsVersion osVersion() = 0;
  // The full path of the running program.
  virtual std::string programPath() = 0;
  // Where the kernel shows its devices' attributes ("/sys") and where their nodes lie
  // ("/dev"): the USB printer ports are found below these two.
  virtual std::string sysfsRoot() = 0;
  virtual std::string deviceFolder() = 0;
  // The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config); empty when neither
  // is known.
  virtual std::string configFolder() = 0;
};

// Writing the user's files: the step that a full disk makes fail.
class Storage {
 public:
  virtual ~Storage() = default;
  // Writes all `count` bytes to the open file `fd`, going on after short writes. False, with
  // errno set (ENOSPC when the disk is full), when not every byte was written.
  virtual bool writeAll(int fd, const uint8_t* bytes, size_t count) = 0;
  // Makes sure the disk holds room for the open file `fd` to take `size` bytes, before any is
  // written. False, with errno set (ENOSPC when the disk is full), when it does not; the
  // file's content and size are then as they were.
  virtual bool reserve(int fd, size_t size) = 0;
};

// Runs between the slices of every wait (the fixed waits, the pauses, the device reads),
// at most `kWaitSliceMs` apart. The window side installs one that keeps its window painted
// and answering the window system while holding back the user's input; vornikctl and the
// simulator leave it null, and their waits only sleep.
using WaitHook = void (*)();

// The longest slice of a wait between two runs of the wait hook.
inline constexpr uint32_t kWaitSliceMs = 50;

struct ServiceSet {
  Clock* clock;
  DebugSink* debug;
  DeviceFiles* devices;
  Libraries* libraries;
  System* system;
  Storage* storage;
  WaitHook waitHook;
};

// The services in force: the POSIX ones unless a test installed others.
ServiceSet& Services();

// Runs the wait hook in force, if there is one.
void WhileWaiting();

// One slice of a wait: runs the wait hook, then sleeps `ms` but at most `kWaitSliceMs`;
// returns the milliseconds it slept.
uint32_t SleepSlice(uint32_t ms);

// Sleeps `ms` in slices, each one a `SleepSlice`: a pause that keeps the window answering.
void SleepInSlices(uint32_t ms);

// Runs a call into a driver library, which blocks without running the wait hook (the
// library keeps services of its own). While a wait hook is installed the call runs on a
// thread of its own and this thread waits for it in slices, running the hook between them;
// the call, and so what the device sees and when, is the same. Returns the call's result.
uint32_t CallWhileWaiting(const std::function<uint32_t()>& call);

// Replaces the services for its lifetime (tests), restoring the previous ones after.
class ScopedServices {
 public:
  explicit ScopedServices(const ServiceSet& replacement);
  ~ScopedServices();
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;

 private:
  ServiceSet previous_;
};

}  // namespace platform
