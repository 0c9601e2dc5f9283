#include <gmock/gmock.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/fake_platform.h"
#include "platform/safe_save.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"

namespace vornik::test {
namespace {

namespace fs = std::filesystem;
using testing::UnorderedElementsAre;

platform::SaveOutcome SaveOf(const fs::path& path, const std::string& text) {
  return platform::SaveFileSafely(
      path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

int Save(const fs::path& path, const std::string& text) {
  return SaveOf(path, text).error;
}

class SafeSaveTest : public testing::Test {
 protected:
  SafeSaveTest() {
    std::string pattern = (fs::temp_directory_path() / "vornik-save-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    target = folder / "PHONE.PBF";
  }
  ~SafeSaveTest() override {
    chmod(folder.c_str(), 0700);
    std::error_code error;
    fs::remove_all(folder, error);
  }

  void write(const fs::path& path, const std::string& text, mode_t mode) {
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), mode);
  }
  std::vector<std::string> folderContents() const {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
      names.push_back(item.path().filename());
    return names;
  }
  mode_t modeOf(const fs::path& path) const {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode & 07777;
  }

  platform::FakePlatform fake;
  fs::path folder;
  fs::path target;
};

// A private file is private at every moment: the temporary file that replaces it has the
// file's mode before the first byte, and so has the file afterwards. A file named like a
// temporary one is left alone.
TEST_F(SafeSaveTest, PrivateFileStaysPrivateWhileItIsSaved) {
  write(target, "old", 0600);
  write(folder / "PHONE.PBF.~save", "someone else's", 0644);
  std::vector<mode_t> modesWhileWriting;
  fake.storage.onWrite = [&](int fd) {
    struct stat info {};
    fstat(fd, &info);
    modesWhileWriting.push_back(info.st_mode & 07777);
  };
  ASSERT_EQ(Save(target, "new"), 0);
  EXPECT_THAT(modesWhileWriting, testing::ElementsAre(0600));
  EXPECT_EQ(modeOf(target), 0600u);
  EXPECT_EQ(ReadFileText(target), "new");
  EXPECT_EQ(ReadFileText(folder / "PHONE.PBF.~save"), "someone else's");
  EXPECT_THAT(folderContents(), UnorderedElementsAre("PHONE.PBF", "PHONE.PBF.~save"));
}

// A full disk, part way through: the old file is whole and no temporary file is left.
TEST_F(SafeSaveTest, FullDiskLeavesTheOldFileWhole) {
  write(target, "the old phonebook", 0644);
  fake.storage.room = 4;
  EXPECT_EQ(Save(target, "a longer new phonebook"), ENOSPC);
  EXPECT_EQ(ReadFileText(target), "the old phonebook");
  EXPECT_THAT(folderContents(), UnorderedElementsAre("PHONE.PBF"));
}

// A file rewritten in place (it has a second name) gets the room for its new content before
// its first byte is overwritten: a full disk refuses the save and the file keeps every byte.
// A write that fails after that says the file may be torn; a failure beside the file does not.
TEST_F(SafeSaveTest, InPlaceSaveOverwritesNothingUnlessItCanSayTheFileMayBeTorn) {
  struct Case {
    const char* name;
    bool secondName;
    size_t room;
    bool roomGoneAtFirstWrite;
    bool torn;
    std::string left;
  };
  const Case cases[] = {
      {"disk full", true, 4, false, false, "the old phonebook"},
      // The reservation lengthened the file; four new bytes stand over the old ones.
      {"write fails", true, SIZE_MAX, true, true, std::string("a loold phonebook\0\0\0\0\0", 22)},
      {"temporary file", false, SIZE_MAX, true, false, "the old phonebook"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(folder / "SECOND.PBF");
    write(target, "the old phonebook", 0644);
    if (c.secondName)
      fs::create_hard_link(target, folder / "SECOND.PBF");
    fake.storage.room = c.room;
    fake.storage.onWrite = [&](int) {
      if (c.roomGoneAtFirstWrite)
        fake.storage.room = 4;
    };
    const platform::SaveOutcome saved = SaveOf(target, "a longer new phonebook");
    EXPECT_EQ(saved.error, ENOSPC);
    EXPECT_EQ(saved.mayBeTorn, c.torn);
    EXPECT_EQ(ReadFileText(target), c.left);
    EXPECT_EQ(
        platform::SaveFailureText(saved),
        std::string(std::strerror(ENOSPC)) + (c.torn ? " (the file may now be damaged)" : ""));
  }
}

// Links are saved through: a link whose file does not exist yet gets that file, and a file
// with a second name keeps both names on the new content.
TEST_F(SafeSaveTest, LinksKeepPointingAtTheSavedContent) {
  const fs::path link = folder / "LINK.PBF";
  fs::create_symlink("DATA.PBF", link);  // dangling, relative
  ASSERT_EQ(Save(link, "through the link"), 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileText(folder / "DATA.PBF"), "through the link");

  write(target, "old", 0644);
  fs::create_hard_link(target, folder / "SECOND.PBF");
  ASSERT_EQ(Save(target, "both names"), 0);
  EXPECT_EQ(ReadFileText(folder / "SECOND.PBF"), "both names");
  EXPECT_EQ(fs::hard_link_count(target), 2u);
  ASSERT_EQ(Save(target, ""), 0);  // no room to reserve
  EXPECT_EQ(ReadFileText(folder / "SECOND.PBF"), "");
}

// In a shared sticky folder (/tmp) another user's link is refused, whatever it names; this
// user's own link, and the folder owner's, are followed as anywhere.
TEST_F(SafeSaveTest, InASharedStickyFolderOnlyOwnOrTheOwnersLinksAreFollowed) {
  if (geteuid() != 0)
    GTEST_SKIP() << "other users are needed";
  constexpr uid_t kFolderOwner = 65533, kOtherUser = 65534;
  chmod(folder.c_str(), 01777);
  ASSERT_EQ(chown(folder.c_str(), kFolderOwner, kFolderOwner), 0);
  const fs::path own = folder / "OWN.PBF";
  const struct {
    uid_t linkOwner;
    bool followed;
  } rows[] = {{kOtherUser, false}, {kFolderOwner, true}, {geteuid(), true}};
  for (const auto& row : rows) {
    write(own, "precious", 0600);
    const fs::path link = folder / "book.csv";
    fs::remove(link);
    fs::create_symlink(own, link);
    ASSERT_EQ(lchown(link.c_str(), row.linkOwner, row.linkOwner), 0);
    EXPECT_EQ(Save(link, "through"), row.followed ? 0 : EACCES) << row.linkOwner;
    EXPECT_EQ(ReadFileText(own), row.followed ? "through" : "precious") << row.linkOwner;
    EXPECT_TRUE(fs::is_symlink(link)) << row.linkOwner;
  }
}

// Where the folder may not be written, a writable file is rewritten in place; a file the
// user may not write is refused and keeps its content.
TEST_F(SafeSaveTest, ReadOnlyFolderStillSavesAWritableFile) {
  write(target, "a longer old phonebook", 0666);
  const fs::path locked = folder / "LOCKED.PBF";
  write(locked, "locked", 0444);
  chmod(folder.c_str(), 0555);
  const int saved = InChild([&] { return AsOrdinaryUser([&] { return Save(target, "new"); }); });
  const int refused = InChild([&] { return AsOrdinaryUser([&] { return Save(locked, "x"); }); });
  ASSERT_NE(saved, kCannotDropRoot);
  EXPECT_EQ(saved, 0);
  EXPECT_EQ(ReadFileText(target), "new");
  EXPECT_EQ(refused, EACCES);
  EXPECT_EQ(ReadFileText(locked), "locked");
  EXPECT_THAT(folderContents(), UnorderedElementsAre("PHONE.PBF", "LOCKED.PBF"));
}

}  // namespace
}  // namespace vornik::test
