// Where the product's installer puts its folders on this system: the programs menu of the
// current user and of all users, and the installation folders.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The name of the product's folder in each programs menu and of the installation folder.
inline constexpr char kProductFolderName[] = "Veltrane Pralline RT20";

// A single-user system has no all-users programs menu.
enum class SystemFamily { MultiUser, SingleUser };

// The roots the clean-up works in. An empty menu root is a folder that could not be found.
struct FolderTable {
  std::vector<std::string> installFolders;
  SystemFamily family = SystemFamily::MultiUser;
  std::string userProgramsFolder;
  std::string allUsersProgramsFolder;
};

// This system's table, read from the environment at each call: the installation folders
// are the product's library and data folders below the prefix the build was made for
// (<prefix>/lib/vornik and <prefix>/share/vornik); the user's menu is
// $XDG_DATA_HOME/applications (~/.local/share/applications when that is not set), the
// all-users menu /usr/share/applications. A relative XDG_DATA_HOME is ignored; without an
// absolute HOME either, the user's menu is not found.
FolderTable SystemFolderTable();

}  // namespace corvane
