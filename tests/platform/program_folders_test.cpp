#include "platform/program_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace platform {
namespace {

namespace fs = std::filesystem;
using Folders = std::vector<std::string>;

TEST(ProgramFolders, BesideTheProgramFirstThenTheInstallFoundFromItsOwnPath) {
  struct Case {
    const char* programPath;
    Folders data;
    Folders libraries;
  };
  const Case cases[] = {
      {"/usr/bin/vornik", {"/usr/bin/", "/usr/share/vornik/"}, {"/usr/bin/", "/usr/lib/vornik/"}},
      {"/tmp/dest/opt/v 1/bin/vornik",
       {"/tmp/dest/opt/v 1/bin/", "/tmp/dest/opt/v 1/share/vornik/"},
       {"/tmp/dest/opt/v 1/bin/", "/tmp/dest/opt/v 1/lib/vornik/"}},
      {"/bin/vornik", {"/bin/", "/share/vornik/"}, {"/bin/", "/lib/vornik/"}},
      // Not in an install's bin folder: only the program's own folder.
      {"/opt/vornik/vornik", {"/opt/vornik/"}, {"/opt/vornik/"}},
      {"/opt/sbin/vornik", {"/opt/sbin/"}, {"/opt/sbin/"}},
      {"/opt/bin.old/vornik", {"/opt/bin.old/"}, {"/opt/bin.old/"}},
      {"bin/vornik", {"bin/"}, {"bin/"}},
      {"/vornik", {"/"}, {"/"}},
      {"vornik", {}, {}},
      {"", {}, {}},
  };
  for (const Case& c : cases) {
    const ProgramFolders folders = FoldersOfProgram(c.programPath);
    EXPECT_EQ(folders.data, c.data) << c.programPath;
    EXPECT_EQ(folders.libraries, c.libraries) << c.programPath;
  }
}

TEST(ProgramFolders, FindsAFileInTheFirstFolderThatHoldsIt) {
  std::string pattern = (fs::temp_directory_path() / "vornik-folders.XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::string root = pattern + "/";
  fs::create_directories(root + "bin");
  fs::create_directories(root + "share/vornik");
  std::ofstream(root + "bin/vornik.ini") << "";
  std::ofstream(root + "share/vornik/vornik.ini") << "";
  std::ofstream(root + "share/vornik/english.lng") << "";
  const Folders folders = {root + "bin/", root + "share/vornik/"};

  EXPECT_EQ(FindProgramFile(folders, "vornik.ini"), root + "bin/vornik.ini");
  EXPECT_EQ(FindProgramFile(folders, "english.lng"), root + "share/vornik/english.lng");
  // Missing everywhere: where it is expected, beside the program.
  EXPECT_EQ(FindProgramFile(folders, "vornik.html"), root + "bin/vornik.html");
  EXPECT_EQ(FindProgramFile({}, "vornik.html"), "vornik.html");

  fs::remove_all(pattern);
}

}  // namespace
}  // namespace platform
