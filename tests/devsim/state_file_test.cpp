// The simulator's state file: what it saves loads back whole, a file that is not exactly
// what it saves is refused naming the line, and a save never leaves half a file or writes
// where it should not.
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "devsim/state_file.h"
#include "temp_folder.h"
#include "tests/support/scoped_umask.h"

namespace devsim::test {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

class StateFileTest : public testing::Test {
 protected:
  // The factory content with a few changes, saved at `path`; its text.
  std::string saveEdited() {
    content.systemSetup[6] = 30;
    content.phonebook[99].name.fill('Z');
    content.firmware = {3, 4194304, 0xFFFFFFFF};
    std::string error;
    EXPECT_TRUE(SaveState(content, path, error)) << error;
    return ReadFileText(path);
  }

  std::vector<std::string> folderContents() const {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(fs::path(path).parent_path()))
      names.push_back(item.path().filename());
    return names;
  }

  TempFolder folder;
  std::string path = folder.file("device.state");
  DeviceContent content = FactoryContent();
};

TEST_F(StateFileTest, SavedContentLoadsBackWhole) {
  saveEdited();
  DeviceContent loaded = FactoryContent();
  std::string error;
  ASSERT_EQ(LoadState(path, loaded, error), LoadResult::kLoaded) << error;
  EXPECT_EQ(loaded, content);
  EXPECT_THAT(folderContents(), testing::ElementsAre("device.state"));
}

TEST_F(StateFileTest, DamagedOrIncompleteFileIsRefusedNamingTheLine) {
  const std::string saved = saveEdited();
  std::vector<std::string> lines;
  std::istringstream in(saved);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  ASSERT_EQ(lines.size(), 105u);
  auto join = [](std::vector<std::string> parts) {
    std::string text;
    for (const auto& part : parts)
      text += part + "\n";
    return text;
  };
  auto replaced = [&](size_t index, const std::string& line) {
    auto copy = lines;
    copy[index] = line;
    return join(copy);
  };
  auto firstLines = [&](size_t count) {
    return join({lines.begin(), lines.begin() + ptrdiff_t(count)});
  };
  auto swapped = lines;
  std::swap(swapped[1], swapped[2]);

  const struct {
    std::string text;
    std::string error;
  } files[] = {
      {firstLines(1), "line 2 is missing"},                         // its header only
      {firstLines(57), "line 58 is missing"},                       // cut at a line's end
      {saved.substr(0, saved.size() - 30), "line 105 is damaged"},  // cut within a line
      {replaced(4, "firmware -1 -1 -1"), "line 5 is damaged"},
      {replaced(4, "firmware 4294967296 0 0"), "line 5 is damaged"},
      {replaced(4, "firmware +1 0 0"), "line 5 is damaged"},
      {replaced(4, "firmware 1 2"), "line 5 is damaged"},
      {join(swapped), "line 2 is damaged"},                // lines out of their order
      {replaced(60, lines[59]), "line 61 is damaged"},     // a phonebook slot twice
      {saved + lines[104] + "\n", "line 106 is damaged"},  // more than a state holds
      {replaced(1, "system-setup 00"), "line 2 is damaged"},
  };
  for (const auto& file : files) {
    std::ofstream(path, std::ios::trunc) << file.text;
    DeviceContent loaded = FactoryContent();
    std::string error;
    EXPECT_EQ(LoadState(path, loaded, error), LoadResult::kBad) << file.error;
    EXPECT_THAT(error, HasSubstr(file.error));
    EXPECT_EQ(loaded, FactoryContent()) << file.error;
  }
}

TEST_F(StateFileTest, SaveNeverWritesThroughALinkBesideIt) {
  const std::string victim = folder.file("victim");
  std::ofstream(victim) << "precious";
  for (const char* suffix : {".tmp", ".~save"})
    fs::create_symlink(victim, path + suffix);

  std::string error;
  ASSERT_TRUE(SaveState(content, path, error)) << error;
  EXPECT_EQ(ReadFileText(victim), "precious");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
  DeviceContent loaded;
  EXPECT_EQ(LoadState(path, loaded, error), LoadResult::kLoaded);
}

TEST_F(StateFileTest, SaveThroughALinkOrOverAPrivateFileKeepsItSo) {
  saveEdited();
  ::chmod(path.c_str(), 0600);
  const std::string link = folder.file("linked.state");
  fs::create_symlink(path, link);
  content.systemSetup[6] = 99;
  std::string error;
  ASSERT_TRUE(SaveState(content, link, error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  DeviceContent loaded;
  ASSERT_EQ(LoadState(path, loaded, error), LoadResult::kLoaded);
  EXPECT_EQ(loaded.systemSetup[6], 99);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(StateFileTest, NewStateFileIsPrivateWhateverTheUmask) {
  const vornik::test::ScopedUmask openMask(0);
  saveEdited();
  EXPECT_EQ(vornik::test::ModeOf(path.c_str()), 0600);
  ::chmod(path.c_str(), 0640);  // the owner's own choice stays
  saveEdited();
  EXPECT_EQ(vornik::test::ModeOf(path.c_str()), 0640);
}

TEST_F(StateFileTest, FailedSaveSaysWhyAndLeavesThePreviousFile) {
  const std::string previous = saveEdited();
  content.systemSetup[6] = 99;

  // A file system that takes no file this long.
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit limit{4096, 4096};
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool saved = SaveState(content, path, error);
    ::_exit(!saved && error.find("File too large") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFileText(path), previous);
  EXPECT_THAT(folderContents(), testing::ElementsAre("device.state"));

  // A folder where the file should be.
  const std::string blocked = folder.file("blocked.state");
  fs::create_directory(blocked);
  std::string error;
  EXPECT_FALSE(SaveState(content, blocked, error));
  EXPECT_THAT(error, HasSubstr("cannot save " + blocked + ": Is a directory"));
  EXPECT_THAT(folderContents(), testing::UnorderedElementsAre("device.state", "blocked.state"));
}

}  // namespace
}  // namespace devsim::test
