#include "uninstall/folder_table.h"

#include <gtest/gtest.h>

#include "uninstall_fixture.h"

namespace corvane {
namespace {

TEST(SystemFolderTable, NamesTheFoldersTheInstallFills) {
  const FolderTable table = SystemFolderTable();
  EXPECT_EQ(table.installFolders, (std::vector<std::string>{CORVANE_PREFIX "/lib/vornik",
                                                            CORVANE_PREFIX "/share/vornik"}));
  EXPECT_EQ(table.allUsersProgramsFolder, "/usr/share/applications");
  EXPECT_EQ(table.family, SystemFamily::MultiUser);
}

TEST(SystemFolderTable, UsersMenuFollowsDataHomeThenHome) {
  ScopedEnv home("HOME", "/home/ilse");
  {
    ScopedEnv dataHome("XDG_DATA_HOME", "/data/ilse");
    EXPECT_EQ(SystemFolderTable().userProgramsFolder, "/data/ilse/applications");
  }
  const char* notAbsolute[] = {nullptr, "", "data/ilse"};
  for (const char* value : notAbsolute) {
    ScopedEnv dataHome("XDG_DATA_HOME", value);
    EXPECT_EQ(SystemFolderTable().userProgramsFolder, "/home/ilse/.local/share/applications")
        << (value ? value : "(unset)");
  }
}

TEST(SystemFolderTable, UsersMenuIsNotFoundWithoutAnAbsoluteHome) {
  ScopedEnv dataHome("XDG_DATA_HOME", nullptr);
  const char* notAbsolute[] = {nullptr, "", "ilse"};
  for (const char* value : notAbsolute) {
    ScopedEnv home("HOME", value);
    EXPECT_EQ(SystemFolderTable().userProgramsFolder, "") << (value ? value : "(unset)");
  }
}

}  // namespace
}  // namespace corvane
