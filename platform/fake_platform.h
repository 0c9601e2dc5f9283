// Fakes of the platform services for tests: a clock that moves on every poll, captured
// debug output, virtual devices registered by name, fake libraries, a chosen OS version.
// `FakePlatform` installs them all for its lifetime.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Every tickCount() advances the clock by `step` ms and sleep(ms) by ms, so a wait of
// 1500 ms costs no real time.
class FakeClock : public Clock {
 public:
  uint32_t tickCount() override;
  void sleep(uint32_t ms) override;

  uint32_t now = 0;
  uint32_t step = 1;
  uint64_t slept = 0;  // total of all sleep() calls
};

class FakeDebugSink : public DebugSink {
 public:
  void write(std::string_view text) override { lines.emplace_back(text); }
  // Everything written, joined.
  std::string text() const;

  std::vector<std::string> lines;
};

// What was asked of the fake device files, in order.
struct OpenRecord {
  std::string name;
  unsigned access;
  unsigned share;
  bool opened;
};

class FakeDeviceFiles : public DeviceFiles {
 public:
  using Factory = std::function<std::unique_ptr<DeviceFile>(unsigned access, unsigned share)>;

  std::unique_ptr<DeviceFile> open(const std::string& name, unsigned access,
                                   unsigned share) override;
  // Makes `name` openable; the factory may return null to refuse an open.
  void add(const std::string& name, Factory factory) { devices_[name] = std::move(factory); }
  void remove(const std::string& name) { devices_.erase(name); }
  bool accessDenied(const std::string& name) override { return denied.contains(name); }

  // Names of devices that exist but that this user may not open.
  std::set<std::string> denied;

  std::vector<OpenRecord> opens;

 private:
  std::map<std::string, Factory> devices_;
};

// A scripted virtual device: it records what is written to it and answers reads from a
// queue of prepared answers, one answer per read call. A read that must not wait
// (`kReadIntervalReturnAtOnce`) finds nothing: the device holds no answer before a request.
class ScriptedDevice {
 public:
  struct Control {
    uint32_t code;
    std::vector<uint8_t> input;
  };

  // One entry per write call, one per read call, in order: "W", "R", "C".
  std::vector<std::string> calls;
  std::vector<std::vector<uint8_t>> writes;
  std::deque<std::vector<uint8_t>> answers;
  std::vector<Control> controls;
  std::vector<CommTimeouts> timeoutsSet;
  std::vector<size_t> readSizes;

  size_t writeLimit = SIZE_MAX;  // bytes a write call accepts at most
  bool failGetTimeouts = false;
  bool failControls = false;
  bool refuseOpen = false;

  // A factory for FakeDeviceFiles::add that opens this device.
  FakeDeviceFiles::Factory factory();
};

class FakeLibraries : public Libraries {
 public:
  std::unique_ptr<Library> load(const std::string& fileName) override;
  // Makes `fileName` loadable with the given exports.
  void add(const std::string& fileName, std::map<std::string, void*> exports) {
    libraries_[fileName] = std::move(exports);
  }

  std::vector<std::string> loads;  // file names asked for, in order
  int unloads = 0;

 private:
  std::map<std::string, std::map<std::string, void*>> libraries_;
};

class FakeSystem : public System {
 public:
  OsVersion osVersion() override { return version; }
  std::string programPath() override { return path; }
  std::string sysfsRoot() override { return sysfs; }
  std::string deviceFolder() override { return dev; }
  std::string configFolder() override { return config; }

  OsVersion version{true, 2, 5};
  std::string path = "/opt/vornik/vornik";
  // No USB printer port and no remembered choice unless a test makes a tree of its own.
  std::string sysfs = "/nonexistent/sys";
  std::string dev = "/nonexistent/dev";
  std::string config = "/nonexistent/config";
};

// Real writes to a disk that holds only `room` more bytes: past them a write fails with
// ENOSPC, as on a full disk, and so does a reservation of more. `onWrite`, when set, sees
// the file just before each write (and may take the room away, as a write that fails
// despite its reservation).
class FakeStorage : public Storage {
 public:
  bool writeAll(int fd, const uint8_t* bytes, size_t count) override;
  bool reserve(int fd, size_t size) override;

  size_t room = SIZE_MAX;
  std::function<void(int fd)> onWrite;
};

class FakePlatform {
 public:
  FakePlatform();

  FakeClock clock;
  FakeDebugSink debug;
  FakeDeviceFiles devices;
  FakeLibraries libraries;
  FakeSystem system;
  FakeStorage storage;

 private:
  ScopedServices scope_;
};

}  // namespace platform
