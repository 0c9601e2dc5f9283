// Helpers for the uninstall hook's tests: a temporary tree that stands in for the system's
// folders, an environment variable set for one test, and a system folder the test creates.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"

namespace corvane {

namespace fs = std::filesystem;

// True when the path names anything, a dangling symbolic link included.
inline bool present(const fs::path& path) {
  return fs::exists(fs::symlink_status(path));
}

inline void writeFile(const fs::path& path) {
  std::ofstream(path) << "left by the user\n";
}

class TempTree {
 public:
  TempTree() {
    std::string pattern = (fs::temp_directory_path() / "corvane-test.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a temporary folder");
    }
    root_ = pattern;
  }
  ~TempTree() {
    // remove_all removes symbolic links themselves, never what they point at.
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // A folder inside the tree, created with its parents.
  fs::path folder(const fs::path& relative) const {
    fs::create_directories(root_ / relative);
    return root_ / relative;
  }
  const fs::path& root() const { return root_; }

 private:
  fs::path root_;
};

using vornik::test::ScopedEnv;

// A real system folder that this test creates, or does not own when it already exists or
// cannot be made. Only what the test made is removed afterwards.
class ClaimedFolder {
 public:
  explicit ClaimedFolder(fs::path path) : path_(std::move(path)) {
    owned_ = mkdir(path_.c_str(), 0755) == 0;
  }
  ~ClaimedFolder() {
    if (!owned_) {
      return;
    }
    for (const fs::path& file : files_) {
      unlink(file.c_str());
    }
    rmdir(path_.c_str());
  }
  ClaimedFolder(const ClaimedFolder&) = delete;
  ClaimedFolder& operator=(const ClaimedFolder&) = delete;

  bool owned() const { return owned_; }
  const fs::path& path() const { return path_; }
  void addFile(const char* name) {
    files_.push_back(path_ / name);
    writeFile(files_.back());
  }

 private:
  fs::path path_;
  bool owned_ = false;
  std::vector<fs::path> files_;
};

}  // namespace corvane
