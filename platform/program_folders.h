// Where the program finds its own files: beside itself first (the build tree, or a program
// folder copied whole), then in the folders of the install it belongs to, found from its
// own path: <prefix>/bin/vornik reads its data from <prefix>/share/vornik and loads its
// libraries from <prefix>/lib/vornik. Nothing depends on where the prefix is, so an
// install moved elsewhere works alike.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The folders to look in, in order, each ending in '/'.
struct ProgramFolders {
  std::vector<std::string> data;       // the language files, vornik.ini, the help page
  std::vector<std::string> libraries;  // the driver libraries
};

// The folders of the program at `programPath`. The program's own folder always comes
// first; the install's folders follow only when the program lies in an install's bin
// folder. Both lists are empty when the path names no folder.
ProgramFolders FoldersOfProgram(const std::string& programPath);

// The path of `fileName` in the first of `folders` that holds it; in the first folder when
// none does (where the file is expected); the bare name when there are no folders.
std::string FindProgramFile(const std::vector<std::string>& folders, const std::string& fileName);

}  // namespace platform
