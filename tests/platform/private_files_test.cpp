// Files that hold a person's data: created private whatever the umask, an existing file's
// mode kept, and never opened through a link planted at the path.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/private_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_umask.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using vornik::test::ModeOf;
using vornik::test::ReadFileText;

class PrivateFilesTest : public testing::Test {
 protected:
  PrivateFilesTest() {
    std::string pattern = (fs::temp_directory_path() / "private-files-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    std::ofstream(victim) << "precious";
  }
  ~PrivateFilesTest() override { fs::remove_all(folder_); }
  std::string file(const std::string& name) const { return (folder_ / name).string(); }

  vornik::test::ScopedUmask openMask{0};
  fs::path folder_;
  std::string victim = file("victim");
};

TEST_F(PrivateFilesTest, AppendedFileIsPrivateKeepsAnOwnModeAndRefusesALink) {
  std::ofstream(file("existing")) << "old ";
  fs::permissions(file("existing"), fs::perms(0640));
  fs::create_symlink(victim, file("link"));
  fs::create_symlink(file("nowhere"), file("dangling"));
  struct Case {
    const char* name;
    int mode;          // after the append; -1: refused
    std::string text;  // what the file holds afterwards
  };
  const Case cases[] = {
      {"new", 0600, "line"},
      {"existing", 0640, "old line"},
      {"link", -1, ""},
      {"dangling", -1, ""},
  };
  for (const Case& c : cases) {
    FILE* out = OpenPrivateAppend(file(c.name));
    EXPECT_EQ(out != nullptr, c.mode >= 0) << c.name;
    if (out == nullptr) {
      EXPECT_EQ(errno, ELOOP) << c.name;
      continue;
    }
    std::fputs("line", out);
    std::fclose(out);
    EXPECT_EQ(ModeOf(file(c.name).c_str()), c.mode) << c.name;
    EXPECT_EQ(ReadFileText(file(c.name)), c.text) << c.name;
  }
  EXPECT_EQ(ReadFileText(victim), "precious");
  EXPECT_FALSE(fs::exists(file("nowhere")));
}

}  // namespace
}  // namespace platform
