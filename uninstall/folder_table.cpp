#include "uninstall/folder_table.h"

#include <cstdlib>

namespace corvane {
namespace {

// A relative path would be taken from whatever folder the uninstall program runs in.
bool isAbsolute(const char* path) {
  return path != nullptr && path[0] == '/';
}

std::string userProgramsFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (isAbsolute(dataHome)) {
    return std::string(dataHome) + "/applications";
  }
  const char* home = std::getenv("HOME");
  if (isAbsolute(home)) {
    return std::string(home) + "/.local/share/applications";
  }
  return {};
}

}  // namespace

FolderTable SystemFolderTable() {
  return FolderTable{
      .installFolders = {CORVANE_INSTALL_LIBRARY_FOLDER, CORVANE_INSTALL_DATA_FOLDER},
      .family = SystemFamily::MultiUser,
      .userProgramsFolder = userProgramsFolder(),
      .allUsersProgramsFolder = "/usr/share/applications",
  };
}

}  // namespace corvane
