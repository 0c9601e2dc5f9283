#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string Failure(const std::string& what, const fs::path& path, int code) {
  return what + " " + path.string() + ": " + std::strerror(code);
}

// The file a save replaces: a link is saved through, so the link stays.
fs::path ReplaceTarget(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error))
    return path;
  const auto linked = fs::canonical(path, error);
  return error ? path : linked;
}

// Creates a file beside `target` that did not exist before; -1 with `temporary` empty on
// failure (errno set).
int CreateTemporary(const fs::path& target, mode_t mode, fs::path& temporary) {
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".~%08x", unsigned(entropy()));
    temporary = target;
    temporary += suffix;
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

// 0 when every byte was written, else the reason.
int WriteWhole(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return errno;
    if (n == 0)
      return EIO;
    bytes = bytes.subspan(size_t(n));
  }
  return 0;
}

// Makes the rename itself last: without this a power cut could bring back the old name.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

bool ReplaceFileContent(const fs::path& path, std::span<const uint8_t> bytes, std::string& error) {
  const fs::path target = ReplaceTarget(path);
  struct stat previous {};
  const bool hadFile = ::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);
  fs::path temporary;
  const int fd = CreateTemporary(target, hadFile ? previous.st_mode & 07777 : 0666, temporary);
  if (fd < 0) {
    error = Failure("cannot create a file beside", target, errno);
    return false;
  }
  int failure = 0;
  // The umask may have taken bits the previous file had: a private file stays private, a
  // shared one stays shared.
  if (hadFile && ::fchmod(fd, previous.st_mode & 07777) != 0)
    failure = errno;
  if (failure == 0)
    failure = WriteWhole(fd, bytes);
  if (failure == 0 && ::fsync(fd) != 0)
    failure = errno;
  if (::close(fd) != 0 && failure == 0)
    failure = errno;
  if (failure != 0) {
    error = Failure("cannot write", temporary, failure);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error = Failure("cannot replace", target, errno);
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(target.parent_path());
  return true;
}

}  // namespace platform
