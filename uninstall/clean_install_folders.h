// The uninstall hook's one piece of work: removing the folders that the uninstall program
// leaves behind once it has removed the product's files.
#pragma once

#include "uninstall/folder_table.h"

namespace corvane {

// Notes which installation folders hold any file or folder, removes the product's folder
// from the user's programs menu and, on a multi-user system, from the all-users menu, then
// removes each installation folder that held nothing. Only empty directories
// go: a folder that holds anything, is missing, or is a symbolic link is left as it is,
// and no link is followed out of a root. Nothing is reported. Always 0.
int CleanInstallFolders(const FolderTable& folders);

}  // namespace corvane
