#include "uninstall/clean_install_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace corvane {
namespace {

bool isDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// True when the folder lists any entry besides "." and "..". A folder that cannot be
// listed, or is a symbolic link, counts as holding nothing: removing it then fails
// harmlessly, since rmdir neither follows a link nor removes a non-empty directory.
bool holdsAnyEntry(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  DIR* listing = fdopendir(fd);
  if (listing == nullptr) {
    close(fd);
    return false;
  }
  bool found = false;
  while (const dirent* entry = readdir(listing)) {
    if (!isDotEntry(entry->d_name)) {
      found = true;
      break;
    }
  }
  closedir(listing);
  return found;
}

// rmdir removes only an empty directory and, given a symbolic link, fails without
// touching the link or its target; every failure is ignored.
void removeEmptyFolder(const std::string& folder) {
  rmdir(folder.c_str());
}

void removeProductFolder(const std::string& menuRoot) {
  if (!menuRoot.empty()) {
    removeEmptyFolder(menuRoot + "/" + kProductFolderName);
  }
}

}  // namespace

int CleanInstallFolders(const FolderTable& folders) {
  std::vector<std::string> emptyInstallFolders;
  for (const std::string& folder : folders.installFolders) {
    if (!folder.empty() && !holdsAnyEntry(folder)) {
      emptyInstallFolders.push_back(folder);
    }
  }
  removeProductFolder(folders.userProgramsFolder);
  if (folders.family == SystemFamily::MultiUser) {
    removeProductFolder(folders.allUsersProgramsFolder);
  }
  for (const std::string& folder : emptyInstallFolders) {
    removeEmptyFolder(folder);
  }
  return 0;
}

}  // namespace corvane
