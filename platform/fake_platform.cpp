#include "platform/fake_platform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/posix_services.h"

namespace platform {

uint32_t FakeClock::tickCount() {
  const uint32_t tick = now;
  now += step;
  return tick;
}

void FakeClock::sleep(uint32_t ms) {
  now += ms;
  slept += ms;
}

std::string FakeDebugSink::text() const {
  std::string all;
  for (const auto& line : lines)
    all += line;
  return all;
}

std::unique_ptr<DeviceFile> FakeDeviceFiles::open(const std::string& name, unsigned access,
                                                  unsigned share) {
  std::unique_ptr<DeviceFile> file;
  if (auto it = devices_.find(name); it != devices_.end())
    file = it->second(access, share);
  opens.push_back({name, access, share, file != nullptr});
  return file;
}

namespace {

// The prepared answers answer the requests written after such a read, so it finds none.
bool ReturnsAtOnce(const CommTimeouts& timeouts) {
  return ReadTotalMs(timeouts, 1) == 0;
}

class ScriptedDeviceFile : public DeviceFile {
 public:
  explicit ScriptedDeviceFile(ScriptedDevice& device) : device_(device) {}

  size_t write(const uint8_t* bytes, size_t count) override {
    device_.calls.push_back("W");
    const size_t accepted = std::min(count, device_.writeLimit);
    device_.writes.emplace_back(bytes, bytes + accepted);
    return accepted;
  }
  size_t read(uint8_t* buffer, size_t count) override {
    device_.calls.push_back("R");
    device_.readSizes.push_back(count);
    if (device_.answers.empty() || ReturnsAtOnce(timeouts_))
      return 0;
    auto answer = std::move(device_.answers.front());
    device_.answers.pop_front();
    const size_t got = std::min(count, answer.size());
    if (got > 0)
      std::memcpy(buffer, answer.data(), got);
    return got;
  }
  bool getTimeouts(CommTimeouts& timeouts) override {
    timeouts = timeouts_;
    return !device_.failGetTimeouts;
  }
  bool setTimeouts(const CommTimeouts& timeouts) override {
    timeouts_ = timeouts;
    device_.timeoutsSet.push_back(timeouts);
    return true;
  }
  bool control(uint32_t code, const uint8_t* input, size_t size) override {
    device_.calls.push_back("C");
    device_.controls.push_back({code, std::vector<uint8_t>(input, input + size)});
    return !device_.failControls;
  }

 private:
  ScriptedDevice& device_;
  CommTimeouts timeouts_;
};

class FakeLibrary : public Library {
 public:
  FakeLibrary(const std::map<std::string, void*>& exports, int& unloads)
      : exports_(exports), unloads_(unloads) {}
  ~FakeLibrary() override { ++unloads_; }
  void* symbol(const char* name) override {
    auto it = exports_.find(name);
    return it == exports_.end() ? nullptr : it->second;
  }

 private:
  const std::map<std::string, void*>& exports_;
  int& unloads_;
};

}  // namespace

FakeDeviceFiles::Factory ScriptedDevice::factory() {
  return [this](unsigned, unsigned) -> std::unique_ptr<DeviceFile> {
    if (refuseOpen)
      return nullptr;
    return std::make_unique<ScriptedDeviceFile>(*this);
  };
}

std::unique_ptr<Library> FakeLibraries::load(const std::string& fileName) {
  loads.push_back(fileName);
  auto it = libraries_.find(fileName);
  if (it == libraries_.end())
    return nullptr;
  return std::make_unique<FakeLibrary>(it->second, unloads);
}

bool FakeStorage::writeAll(int fd, const uint8_t* bytes, size_t count) {
  if (onWrite)
    onWrite(fd);
  const size_t taken = std::min(count, room);
  room -= taken;
  if (taken > 0 && !PosixServices().storage->writeAll(fd, bytes, taken))
    return false;
  if (taken < count) {
    errno = ENOSPC;
    return false;
  }
  return true;
}

bool FakeStorage::reserve(int fd, size_t size) {
  if (size > room) {
    errno = ENOSPC;
    return false;
  }
  return PosixServices().storage->reserve(fd, size);
}

FakePlatform::FakePlatform()
    : scope_({&clock, &debug, &devices, &libraries, &system, &storage, nullptr}) {}

}  // namespace platform
