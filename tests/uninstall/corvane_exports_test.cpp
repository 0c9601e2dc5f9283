// The hook as the uninstall program sees it: the built library, loaded by path, its entry
// points resolved by name and called with three unused values.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>

#include <gtest/gtest.h>

#include "uninstall/corvane.h"
#include "uninstall/folder_table.h"
#include "uninstall_fixture.h"

namespace corvane {
namespace {

class CorvaneExports : public ::testing::Test {
 protected:
  void SetUp() override {
    // The hook works in the real all-users menu and installation folder; test processes
    // of every build folder take turns there.
    lock_ = open("/tmp/corvane-exports-test.lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (lock_ >= 0) {
      flock(lock_, LOCK_EX);
    }
    library_ = dlopen(CORVANE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
    dllMain = reinterpret_cast<DllMainFn>(dlsym(library_, "DllMain"));
    initialize = reinterpret_cast<UninstEntryFn>(dlsym(library_, "UninstInitialize"));
    unInitialize = reinterpret_cast<UninstEntryFn>(dlsym(library_, "UninstUnInitialize"));
    ASSERT_NE(dllMain, nullptr);
    ASSERT_NE(initialize, nullptr);
    ASSERT_NE(unInitialize, nullptr);
  }
  void TearDown() override {
    if (library_ != nullptr) {
      dlclose(library_);
    }
    if (lock_ >= 0) {
      close(lock_);
    }
  }

  TempTree tree;
  ScopedEnv dataHome{"XDG_DATA_HOME", (tree.root() / "data").c_str()};
  fs::path userProduct = tree.folder("data/applications") / kProductFolderName;
  DllMainFn dllMain = nullptr;
  UninstEntryFn initialize = nullptr;
  UninstEntryFn unInitialize = nullptr;

 private:
  int lock_ = -1;
  void* library_ = nullptr;
};

// The all-users menu folder and the installation folders, when this test can create them
// (it runs as root and none exists already).
struct SystemProductFolders {
  ClaimedFolder allUsers{fs::path("/usr/share/applications") / kProductFolderName};
  ClaimedFolder install{SystemFolderTable().installFolders.at(0)};
  ClaimedFolder data{SystemFolderTable().installFolders.at(1)};
  bool owned() const { return allUsers.owned() && install.owned() && data.owned(); }
};

TEST_F(CorvaneExports, UninstInitializeChangesNothing) {
  fs::create_directories(userProduct);
  SystemProductFolders system;

  EXPECT_EQ(dllMain(nullptr, 1, nullptr), 1);
  EXPECT_EQ(initialize(0, 0, 0), 0);

  EXPECT_TRUE(present(userProduct));
  if (system.owned()) {
    EXPECT_TRUE(present(system.allUsers.path()));
    EXPECT_TRUE(present(system.install.path()));
    EXPECT_TRUE(present(system.data.path()));
  }
}

TEST_F(CorvaneExports, UninstUnInitializeRemovesTheEmptyUserMenuFolderOnly) {
  fs::create_directories(userProduct);
  const fs::path otherProduct = userProduct.parent_path() / "Other Product";
  fs::create_directories(otherProduct);

  EXPECT_EQ(unInitialize(1, 2, 3), 0);

  EXPECT_FALSE(present(userProduct));
  EXPECT_TRUE(present(otherProduct));

  // Without XDG_DATA_HOME the menu lies in the home folder.
  ScopedEnv noDataHome("XDG_DATA_HOME", nullptr);
  ScopedEnv home("HOME", tree.root().c_str());
  const fs::path homeProduct = tree.folder(".local/share/applications") / kProductFolderName;
  fs::create_directories(homeProduct);
  EXPECT_EQ(unInitialize(0, 0, 0), 0);
  EXPECT_FALSE(present(homeProduct));
}

TEST_F(CorvaneExports, UninstUnInitializeKeepsAFolderThatHoldsAFileOrIsALink) {
  fs::create_directories(userProduct);
  writeFile(userProduct / "Panel.desktop");
  EXPECT_EQ(unInitialize(0, 0, 0), 0);
  EXPECT_TRUE(present(userProduct / "Panel.desktop"));

  fs::remove_all(userProduct);
  const fs::path elsewhere = tree.folder("elsewhere");
  fs::create_directory_symlink(elsewhere, userProduct);
  EXPECT_EQ(unInitialize(0, 0, 0), 0);
  EXPECT_TRUE(fs::is_symlink(userProduct));
  EXPECT_TRUE(present(elsewhere));
}

TEST_F(CorvaneExports, UninstUnInitializeReturnsZeroWhenNothingExists) {
  EXPECT_EQ(unInitialize(0, 0, 0), 0);
  fs::remove_all(tree.root() / "data");
  EXPECT_EQ(unInitialize(0, 0, 0), 0);
  EXPECT_FALSE(present(tree.root() / "data"));

  ScopedEnv noDataHome("XDG_DATA_HOME", nullptr);
  ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(unInitialize(0, 0, 0), 0);
}

TEST_F(CorvaneExports, UninstUnInitializeRemovesEmptySystemFolders) {
  SystemProductFolders system;
  if (!system.owned()) {
    GTEST_SKIP() << "needs root, and no product folders in the menus or the install";
  }

  EXPECT_EQ(unInitialize(0, 0, 0), 0);

  EXPECT_FALSE(present(system.allUsers.path()));
  EXPECT_FALSE(present(system.install.path()));
  EXPECT_FALSE(present(system.data.path()));
}

TEST_F(CorvaneExports, UninstUnInitializeKeepsSystemFoldersThatHoldFiles) {
  SystemProductFolders system;
  if (!system.owned()) {
    GTEST_SKIP() << "needs root, and no product folders in the menus or the install";
  }
  system.allUsers.addFile("Panel.desktop");
  system.install.addFile("libgrenlo.so");
  system.data.addFile("english.lng");

  EXPECT_EQ(unInitialize(0, 0, 0), 0);

  EXPECT_TRUE(present(system.allUsers.path() / "Panel.desktop"));
  EXPECT_TRUE(present(system.install.path() / "libgrenlo.so"));
  EXPECT_TRUE(present(system.data.path() / "english.lng"));
}

}  // namespace
}  // namespace corvane
