#include "uninstall/clean_install_folders.h"

#include <gtest/gtest.h>

#include "uninstall_fixture.h"

namespace corvane {
namespace {

// A temporary stand-in for the system: both programs menus and the installation folders.
class CleanInstallFoldersTest : public ::testing::Test {
 protected:
  FolderTable table(SystemFamily family = SystemFamily::MultiUser) const {
    return FolderTable{.installFolders = {installFolder.string(), dataFolder.string()},
                       .family = family,
                       .userProgramsFolder = userMenu.string(),
                       .allUsersProgramsFolder = allUsersMenu.string()};
  }

  TempTree tree;
  fs::path userMenu = tree.folder("home/.local/share/applications");
  fs::path allUsersMenu = tree.folder("usr/share/applications");
  fs::path installFolder = tree.root() / "usr/lib/vornik";
  fs::path dataFolder = tree.root() / "usr/share/vornik";
  fs::path userProduct = userMenu / kProductFolderName;
  fs::path allUsersProduct = allUsersMenu / kProductFolderName;
};

TEST_F(CleanInstallFoldersTest, RemovesEmptyProductFoldersAndEmptyInstallFolders) {
  fs::create_directories(userProduct);
  fs::create_directories(allUsersProduct);
  fs::create_directories(installFolder);
  fs::create_directories(dataFolder);

  EXPECT_EQ(CleanInstallFolders(table()), 0);

  EXPECT_FALSE(present(userProduct));
  EXPECT_FALSE(present(allUsersProduct));
  EXPECT_FALSE(present(installFolder));
  EXPECT_FALSE(present(dataFolder));
  EXPECT_TRUE(present(userMenu));
  EXPECT_TRUE(present(allUsersMenu));
  EXPECT_TRUE(present(installFolder.parent_path()));
  EXPECT_TRUE(present(dataFolder.parent_path()));
}

TEST_F(CleanInstallFoldersTest, KeepsEveryFolderThatHoldsAnything) {
  fs::create_directories(userProduct);
  writeFile(userProduct / "Panel.desktop");
  fs::create_directories(allUsersProduct / "Tools");
  fs::create_directories(installFolder);
  writeFile(installFolder / ".hidden");
  fs::create_directories(dataFolder);

  EXPECT_EQ(CleanInstallFolders(table()), 0);

  EXPECT_TRUE(present(userProduct / "Panel.desktop"));
  EXPECT_TRUE(present(allUsersProduct / "Tools"));
  EXPECT_TRUE(present(installFolder / ".hidden"));
  // Each installation folder is judged by itself.
  EXPECT_FALSE(present(dataFolder));
}

TEST_F(CleanInstallFoldersTest, InstallFolderHoldingOnlyAnEmptyFolderStays) {
  fs::create_directories(installFolder / "lang");

  CleanInstallFolders(table());

  EXPECT_TRUE(present(installFolder / "lang"));
}

TEST_F(CleanInstallFoldersTest, SingleUserSystemLooksOnlyAtTheUsersMenu) {
  fs::create_directories(userProduct);
  fs::create_directories(allUsersProduct);

  EXPECT_EQ(CleanInstallFolders(table(SystemFamily::SingleUser)), 0);

  EXPECT_FALSE(present(userProduct));
  EXPECT_TRUE(present(allUsersProduct));
}

TEST_F(CleanInstallFoldersTest, MissingFoldersAndMenusNotFoundAreNoError) {
  EXPECT_EQ(CleanInstallFolders(table()), 0);
  fs::remove_all(tree.root() / "usr");
  EXPECT_EQ(CleanInstallFolders(table()), 0);

  // A menu that was not found does not keep the others from being cleaned.
  fs::create_directories(installFolder);
  fs::create_directories(allUsersProduct);
  FolderTable noUserMenu = table();
  noUserMenu.userProgramsFolder.clear();
  EXPECT_EQ(CleanInstallFolders(noUserMenu), 0);
  EXPECT_FALSE(present(allUsersProduct));
  EXPECT_FALSE(present(installFolder));
}

TEST_F(CleanInstallFoldersTest, NeverFollowsASymbolicLinkOutOfARoot) {
  const fs::path emptyTarget = tree.folder("elsewhere/empty");
  const fs::path filledTarget = tree.folder("elsewhere/filled");
  writeFile(filledTarget / "keep.txt");
  fs::create_directory_symlink(emptyTarget, userProduct);
  fs::create_directory_symlink(tree.root() / "gone", allUsersProduct);
  fs::create_directories(installFolder.parent_path());
  fs::create_directory_symlink(filledTarget, installFolder);

  EXPECT_EQ(CleanInstallFolders(table()), 0);

  EXPECT_TRUE(fs::is_symlink(userProduct));
  EXPECT_TRUE(fs::is_symlink(allUsersProduct));
  EXPECT_TRUE(fs::is_symlink(installFolder));
  EXPECT_TRUE(present(emptyTarget));
  EXPECT_TRUE(present(filledTarget / "keep.txt"));

  // A link to an empty folder as the installation folder is left alone too.
  fs::remove(installFolder);
  fs::create_directory_symlink(emptyTarget, installFolder);
  CleanInstallFolders(table());
  EXPECT_TRUE(fs::is_symlink(installFolder));
  EXPECT_TRUE(present(emptyTarget));
}

}  // namespace
}  // namespace corvane
