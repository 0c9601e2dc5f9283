// A private folder for a run's files, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

namespace vornik::bench {

class TempFolder {
 public:
  // Makes the folder inside `parent`; `made()` is false when that failed.
  explicit TempFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool made() const { return !path_.empty(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vornik::bench
