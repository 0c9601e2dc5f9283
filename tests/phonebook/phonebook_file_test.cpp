#include <gmock/gmock.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "phonebook/phonebook_file.h"
#include "phonebook_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"

namespace vornik::test {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;

std::vector<uint8_t> StandardHeader() {
  auto header = Padded("ZRV FAX-RCP Phonebook", 24, 0);
  Append(header, Padded("1.00", 8, 0));
  Append(header, Bytes({0x14, 0x00, 0x50, 0x00, 0, 0, 0, 0}));
  return header;
}

std::vector<std::string> FolderContents(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : fs::directory_iterator(folder))
    names.push_back(item.path().filename());
  return names;
}

class PhonebookFileTest : public PhonebookTest {
 protected:
  PhonebookFileTest() {
    std::string pattern = (fs::temp_directory_path() / "vornik-pbf-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    target = folder / "PHONE.PBF";
  }
  ~PhonebookFileTest() override {
    std::error_code error;
    chmod(folder.c_str(), 0700);
    umount2(mountPoint().c_str(), MNT_DETACH);
    fs::remove_all(folder, error);
  }

  fs::path mountPoint() const { return folder / "small"; }

  // A store with a few entries, saved as the previous file; the store then changes.
  std::vector<uint8_t> saveThenChange(const fs::path& path) {
    SetEntryName(entry(0), "BEFORE");
    SetEntryDialNumber(entry(0), "111");
    EXPECT_EQ(WritePhonebookFile(path), 1);
    SetEntryName(entry(0), "AFTER");
    SetEntryName(entry(99), "NEW LAST");
    return ReadFileBytes(path);
  }

  fs::path folder;
  fs::path target;
};

TEST_F(PhonebookFileTest, SaveRightAfterStartUpWritesTheHeaderAndZeroEntries) {
  ASSERT_EQ(WritePhonebookFile(target), 1);
  auto expected = StandardHeader();
  Append(expected, std::vector<uint8_t>(7000, 0));
  EXPECT_EQ(ReadFileBytes(target), expected);
  EXPECT_THAT(FolderContents(folder), ElementsAre("PHONE.PBF"));
}

TEST_F(PhonebookFileTest, SavedEntriesLoadBackByteForByte) {
  SetEntryName(entry(0), "ANNA");
  SetEntryDialNumber(entry(0), "0123");
  entry(5).groupFlag = 1;
  entry(5).inUseFlag = 1;
  entry(5).dialData[0] = 0x10;
  entry(99).nameTerminator = 'X';  // kept as it is, like every byte of the table
  const auto saved = TableBytes();
  ASSERT_EQ(WritePhonebookFile(target), 1);
  EXPECT_EQ(ReadFileBytes(target).size(), 7040u);

  FreePhonebookStore();
  ASSERT_TRUE(AllocatePhonebookStore());
  ASSERT_EQ(ReadPhonebookFile(target), 1);
  EXPECT_EQ(TableBytes(), saved);
}

TEST_F(PhonebookFileTest, HeaderBytesAfterTheTextAreNotExamined) {
  auto file = Padded("ZRV FAX-RCP Phonebook", 24, 0);
  Append(file, std::vector<uint8_t>(16, 0xEE));
  Append(file, std::vector<uint8_t>(7000, 0x41));
  WriteFileBytes(target, file);

  ASSERT_EQ(ReadPhonebookFile(target), 1);
  EXPECT_EQ(TableBytes(), std::vector<uint8_t>(7000, 0x41));
  ASSERT_EQ(WritePhonebookFile(target), 1);
  const auto rewritten = ReadFileBytes(target);
  EXPECT_EQ(std::vector<uint8_t>(rewritten.begin(), rewritten.begin() + 40), StandardHeader());
}

TEST_F(PhonebookFileTest, StoreWithoutEntriesSavesAndLoadsTheHeaderOnly) {
  FreePhonebookStore();
  MachineState.SpeedDialCount = 0;
  MachineState.OneTouchCount = 0;
  ASSERT_TRUE(AllocatePhonebookStore());
  ASSERT_EQ(WritePhonebookFile(target), 1);
  EXPECT_EQ(ReadFileBytes(target), StandardHeader());
  for (size_t tail : {0, 70}) {
    auto file = StandardHeader();
    Append(file, std::vector<uint8_t>(tail, 0x41));
    WriteFileBytes(target, file);
    EXPECT_EQ(ReadPhonebookFile(target), 1);
    EXPECT_TRUE(PhonebookStore.entries.empty());
  }
}

TEST_F(PhonebookFileTest, OtherFilesAreRefusedAndChangeNothing) {
  SetEntryName(entry(7), "STAYS");
  const auto before = TableBytes();
  const std::vector<std::vector<uint8_t>> headers = {
      Padded("ZRV FAX-RCP PHONEBOOK", 40, 0),
      Padded("ZRV FAX-RCP Phonebook2", 40, 0),
      Padded("ZRV FAX-RCP Phoneboo", 40, 0),
      Padded("ZRV FAX-RCP Phonebook", 40, ' '),  // no terminator within the header
      {},
  };
  for (auto file : headers) {
    Append(file, std::vector<uint8_t>(7000, 0x41));
    WriteFileBytes(target, file);
    EXPECT_EQ(ReadPhonebookFile(target), 0) << file.size();
  }
  EXPECT_EQ(ReadPhonebookFile(folder / "MISSING.PBF"), 0);
  EXPECT_EQ(ReadPhonebookFile(folder), 0);
  EXPECT_EQ(TableBytes(), before);

  ASSERT_EQ(WritePhonebookFile(target), 1);
  const auto saved = ReadFileBytes(target);
  EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.begin() + 40), StandardHeader());
}

// A file that ends before its last entry is refused whole, wherever it was cut; bytes after
// a whole table are not looked at.
TEST_F(PhonebookFileTest, OnlyAFileWithEveryEntryIsLoaded) {
  for (size_t i = 0; i < 100; ++i)
    SetEntryName(entry(i), "OLD");
  const auto before = TableBytes();
  for (size_t tableBytes : {0, 1, 100, 6999}) {
    auto file = StandardHeader();
    Append(file, std::vector<uint8_t>(tableBytes, 0xAB));
    WriteFileBytes(target, file);
    EXPECT_EQ(ReadPhonebookFile(target), 0) << tableBytes;
    EXPECT_EQ(TableBytes(), before) << tableBytes;
  }
  auto file = StandardHeader();
  Append(file, std::vector<uint8_t>(7000 + 3, 0xAB));
  WriteFileBytes(target, file);
  ASSERT_EQ(ReadPhonebookFile(target), 1);
  EXPECT_EQ(TableBytes(), std::vector<uint8_t>(7000, 0xAB));
}

TEST_F(PhonebookFileTest, SaveOverAPrivateOrLinkedFileKeepsItAsItWas) {
  saveThenChange(target);
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  const fs::path link = folder / "LINK.PBF";
  fs::create_symlink(target, link);

  ASSERT_EQ(WritePhonebookFile(target), 1);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  SetEntryName(entry(0), "THROUGH THE LINK");
  ASSERT_EQ(WritePhonebookFile(link), 1);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(target).at(40 + 2), 'T');
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_THAT(FolderContents(folder), testing::UnorderedElementsAre("PHONE.PBF", "LINK.PBF"));
}

// A folder the user may not write still lets the file itself be saved: it is rewritten in
// place, as no temporary file can be made beside it.
TEST_F(PhonebookFileTest, SaveIntoAFolderThatCannotBeWrittenRewritesTheFileInPlace) {
  saveThenChange(target);
  chmod(target.c_str(), 0666);
  chmod(folder.c_str(), 0555);

  EXPECT_EQ(InChild([&] { return AsOrdinaryUser([&] { return WritePhonebookFile(target); }); }), 1);
  SetEntryName(entry(0), "");
  ASSERT_EQ(ReadPhonebookFile(target), 1);
  EXPECT_EQ(EntryName(entry(0)), "AFTER");
  EXPECT_THAT(FolderContents(folder), ElementsAre("PHONE.PBF"));
}

TEST_F(PhonebookFileTest, SaveOverAFileThatMayNotBeWrittenIsRefused) {
  const auto previous = saveThenChange(target);
  chmod(folder.c_str(), 0777);
  chmod(target.c_str(), 0444);

  EXPECT_EQ(InChild([&] { return AsOrdinaryUser([&] { return WritePhonebookFile(target); }); }), 0);
  EXPECT_EQ(ReadFileBytes(target), previous);
  EXPECT_THAT(FolderContents(folder), ElementsAre("PHONE.PBF"));
}

TEST_F(PhonebookFileTest, SaveBeyondTheFileSizeLimitKeepsThePreviousFile) {
  const auto previous = saveThenChange(target);

  EXPECT_EQ(InChild([&] {
              const rlimit limit{4096, 4096};
              std::signal(SIGXFSZ, SIG_IGN);  // an over-long write fails instead of killing
              setrlimit(RLIMIT_FSIZE, &limit);
              return WritePhonebookFile(target);
            }),
            0);
  EXPECT_EQ(ReadFileBytes(target), previous);
  EXPECT_THAT(FolderContents(folder), ElementsAre("PHONE.PBF"));
}

TEST_F(PhonebookFileTest, SaveOntoAFullFileSystemKeepsThePreviousFile) {
  fs::create_directory(mountPoint());
  if (mount("tmpfs", mountPoint().c_str(), "tmpfs", 0, "size=16k") != 0)
    GTEST_SKIP() << "no small file system can be mounted here";
  const fs::path small = mountPoint() / "PHONE.PBF";
  const auto previous = saveThenChange(small);
  {
    std::ofstream filler(mountPoint() / "FILLER", std::ios::binary);
    const std::vector<char> block(4096, 'F');
    while (filler.write(block.data(), std::streamsize(block.size())).flush()) {
    }
  }

  EXPECT_EQ(WritePhonebookFile(small), 0);
  EXPECT_EQ(ReadFileBytes(small), previous);
  EXPECT_THAT(FolderContents(mountPoint()), testing::UnorderedElementsAre("PHONE.PBF", "FILLER"));
}

}  // namespace
}  // namespace vornik::test
