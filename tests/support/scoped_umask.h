// A file-creation mask set for one scope and put back afterwards: a test of a file's mode
// must hold whatever mask the person running it has.
#pragma once

#include <sys/stat.h>

namespace vornik::test {

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(old_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t old_;
};

// The permission bits of the file at `path` (not following a link), or -1 when there is none.
inline int ModeOf(const char* path) {
  struct stat info {};
  return ::lstat(path, &info) == 0 ? int(info.st_mode & 07777) : -1;
}

}  // namespace vornik::test
