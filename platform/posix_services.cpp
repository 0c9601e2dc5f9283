#include "platform/posix_services.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/posix_device_files.h"
#include "platform/private_files.h"
#include "platform/program_folders.h"

namespace platform {
namespace {

class PosixClock : public Clock {
 public:
  uint32_t tickCount() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);  // wraps like the 32-bit tick counter
  }
  void sleep(uint32_t ms) override {
    timespec wait{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
  }
};

// Silent unless VORNIK_DEBUG is set: "1" writes to stderr, anything else names a file
// that the text is appended to. The trace holds phonebook names and numbers, so the file is
// private (see OpenPrivateAppend); one that cannot be opened is said once, and not written.
class PosixDebugSink : public DebugSink {
 public:
  PosixDebugSink() {
    const char* target = std::getenv("VORNIK_DEBUG");
    if (target == nullptr || *target == '\0')
      return;
    if (std::string_view(target) == "1") {
      out_ = stderr;
    } else {
      out_ = OpenPrivateAppend(target);
      owned_ = out_ != nullptr;
      if (!owned_)
        std::fprintf(stderr, "VORNIK_DEBUG: cannot append to %s: %s; no trace is written\n", target,
                     std::strerror(errno));
    }
  }
  ~PosixDebugSink() override {
    if (owned_)
      std::fclose(out_);
  }
  void write(std::string_view text) override {
    if (out_ == nullptr)
      return;
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
  }

 private:
  FILE* out_ = nullptr;
  bool owned_ = false;
};

class PosixLibrary : public Library {
 public:
  explicit PosixLibrary(void* handle) : handle_(handle) {}
  ~PosixLibrary() override { dlclose(handle_); }
  void* symbol(const char* name) override { return dlsym(handle_, name); }

 private:
  void* handle_;
};

class PosixSystem : public System {
 public:
  // The program runs on the NT family, version 5 or later, as far as it is concerned.
  OsVersion osVersion() override { return {true, 2, 5}; }
  std::string programPath() override {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
  }
  std::string sysfsRoot() override { return "/sys"; }
  std::string deviceFolder() override { return "/dev"; }
  std::string configFolder() override {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
      return config;
    const char* home = std::getenv("HOME");
    return home != nullptr && *home == '/' ? std::string(home) + "/.config" : std::string();
  }
};

// "grenlo.dll" is looked up as "libgrenlo.so" in the program's library folders, in order,
// then on the loader's path.
class PosixLibraries : public Libraries {
 public:
  explicit PosixLibraries(System& system) : system_(system) {}
  std::unique_ptr<Library> load(const std::string& fileName) override {
    std::string base = fileName;
    const auto dot = base.rfind('.');
    if (dot != std::string::npos)
      base.erase(dot);
    const std::string soName = "lib" + base + ".so";
    for (const std::string& folder : FoldersOfProgram(system_.programPath()).libraries) {
      if (void* handle = dlopen((folder + soName).c_str(), RTLD_NOW | RTLD_LOCAL))
        return std::make_unique<PosixLibrary>(handle);
    }
    if (void* handle = dlopen(soName.c_str(), RTLD_NOW | RTLD_LOCAL))
      return std::make_unique<PosixLibrary>(handle);
    return nullptr;
  }

 private:
  System& system_;
};

class PosixStorage : public Storage {
 public:
  bool writeAll(int fd, const uint8_t* bytes, size_t count) override {
    while (count > 0) {
      const ssize_t written = ::write(fd, bytes, count);
      if (written < 0 && errno == EINTR)
        continue;
      if (written <= 0)
        return false;
      bytes += written;
      count -= size_t(written);
    }
    return true;
  }

  bool reserve(int fd, size_t size) override {
    if (size == 0)
      return true;  // an empty content needs no room (and posix_fallocate refuses length 0)
    struct stat before {};
    if (::fstat(fd, &before) != 0)
      return false;
    int error = EINTR;
    while (error == EINTR)
      error = ::posix_fallocate(fd, 0, off_t(size));
    if (error == 0)
      return true;
    // A reservation that failed part way may have lengthened the file with zeros.
    if (::ftruncate(fd, before.st_size) == 0)
      errno = error;
    return false;
  }
};

}  // namespace

ServiceSet PosixServices() {
  static PosixClock clock;
  static PosixDebugSink debug;
  static PosixDeviceFiles devices;
  static PosixSystem system;
  static PosixLibraries libraries(system);
  static PosixStorage storage;
  return {&clock, &debug, &devices, &libraries, &system, &storage, nullptr};
}

}  // namespace platform
