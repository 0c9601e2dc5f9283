#include "platform/program_folders.h"

#include <filesystem>
#include <string_view>

namespace platform {
namespace {

// The install layout below the prefix; the build's install rules use the same values.
constexpr std::string_view kBinFolder = VORNIK_INSTALL_BINDIR;
constexpr std::string_view kDataFolder = VORNIK_INSTALL_DATADIR;
constexpr std::string_view kLibraryFolder = VORNIK_INSTALL_LIBDIR;

}  // namespace

ProgramFolders FoldersOfProgram(const std::string& programPath) {
  const size_t separator = programPath.find_last_of('/');
  if (separator == std::string::npos)
    return {};
  const std::string programFolder = programPath.substr(0, separator + 1);
  ProgramFolders folders{{programFolder}, {programFolder}};
  std::string binTail = "/";
  binTail.append(kBinFolder).append("/");
  if (programFolder.ends_with(binTail)) {
    const std::string prefix = programFolder.substr(0, programFolder.size() - binTail.size() + 1);
    folders.data.push_back(std::string(prefix).append(kDataFolder).append("/"));
    folders.libraries.push_back(std::string(prefix).append(kLibraryFolder).append("/"));
  }
  return folders;
}

std::string FindProgramFile(const std::vector<std::string>& folders, const std::string& fileName) {
  for (const std::string& folder : folders) {
    std::error_code error;
    if (std::filesystem::exists(folder + fileName, error))
      return folder + fileName;
  }
  return folders.empty() ? fileName : folders.front() + fileName;
}

}  // namespace platform
