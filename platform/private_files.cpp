#include "platform/private_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

constexpr mode_t kPrivateMode = 0600;

}  // namespace

FILE* OpenPrivateAppend(const std::string& path) {
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kPrivateMode);
  if (fd < 0)
    return nullptr;
  FILE* file = ::fdopen(fd, "a");
  if (file == nullptr) {
    const int failure = errno;
    ::close(fd);
    errno = failure;
  }
  return file;
}

int CreatePrivateFile(const std::string& path) {
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateMode);
  if (fd < 0)
    return errno;
  ::close(fd);
  return 0;
}

}  // namespace platform
