#include "platform/safe_save.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A chain of links longer than this is taken for a loop.
constexpr int kMaxLinks = 40;

// Whether the save may go through the link at `link`. In a sticky folder that every user
// may write (/tmp), another user's link could aim the save at any file of this user's: there
// a link is followed only when it is this user's or the folder owner's, as the kernel's own
// protection of such folders has it.
bool MayFollow(const fs::path& link) {
  const fs::path folder = link.has_parent_path() ? link.parent_path() : fs::path(".");
  struct stat linkInfo {
  }, folderInfo{};
  if (::lstat(link.c_str(), &linkInfo) != 0 || ::stat(folder.c_str(), &folderInfo) != 0)
    return false;
  const bool shared = (folderInfo.st_mode & S_ISVTX) != 0 && (folderInfo.st_mode & S_IWOTH) != 0;
  return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folderInfo.st_uid;
}

// The file that `path` finally names, following every link, also a link whose target does
// not exist yet; none when a link on the way may not be followed.
std::optional<fs::path> LinkTarget(fs::path path) {
  for (int depth = 0; depth < kMaxLinks; ++depth) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error)))
      return path;
    if (!MayFollow(path))
      return std::nullopt;
    const fs::path next = fs::read_symlink(path, error);
    if (error)
      return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

// The error number a failed storage step left, EIO when it left none.
int StorageError() {
  return errno != 0 ? errno : EIO;
}

// Writes everything through the storage service and makes it durable.
int WriteAndSync(int fd, std::span<const uint8_t> bytes) {
  if (!Services().storage->writeAll(fd, bytes.data(), bytes.size()))
    return StorageError();
  return ::fsync(fd) == 0 ? 0 : errno;
}

SaveOutcome RewriteInPlace(const fs::path& target, std::span<const uint8_t> bytes) {
  // The links were followed already: one put there since is not.
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0)
    return {errno};
  // The room comes first: a full disk refuses the save while the file holds all it held.
  if (!Services().storage->reserve(fd, bytes.size())) {
    const int error = StorageError();
    ::close(fd);
    return {error};
  }
  int result = WriteAndSync(fd, bytes);
  if (result == 0 && ::ftruncate(fd, off_t(bytes.size())) != 0)
    result = errno;
  if (::close(fd) != 0 && result == 0)
    result = errno;
  return {result, result != 0};
}

// Flushes the folder's entry of a renamed file; a failure here loses nothing already saved.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

SaveOutcome SaveFileSafely(const fs::path& path, std::span<const uint8_t> bytes) {
  const std::optional<fs::path> followed = LinkTarget(path);
  if (!followed)
    return {EACCES};
  const fs::path& target = *followed;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT)
    return {errno};
  if (exists && !S_ISREG(info.st_mode))
    return {EISDIR};
  if (exists && ::access(target.c_str(), W_OK) != 0)
    return {errno};
  const mode_t mode = exists ? (info.st_mode & 07777) : NewFileMode();

  // A rename would cut the other names of the file off from the new content.
  if (exists && info.st_nlink > 1)
    return RewriteInPlace(target, bytes);

  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // mode 0600 from the start
  if (fd < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM || error == EROFS))
      return RewriteInPlace(target, bytes);
    return {error};
  }
  int result = ::fchmod(fd, mode) == 0 ? 0 : errno;
  if (result == 0)
    result = WriteAndSync(fd, bytes);
  if (::close(fd) != 0 && result == 0)
    result = errno;
  if (result == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
    result = errno;
  if (result != 0) {
    ::unlink(temporary.c_str());
    return {result};
  }
  SyncFolder(folder);
  return {};
}

std::string SaveFailureText(const SaveOutcome& outcome) {
  std::string text = std::strerror(outcome.error);
  if (outcome.mayBeTorn)
    text += kMayBeDamagedNote;
  return text;
}

}  // namespace platform
