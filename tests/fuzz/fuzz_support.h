// What every fuzz target shares: a check that ends the run when an invariant breaks (the
// fuzzer keeps the input as a finding), a reader that takes an input apart, and a file of
// the target's own for readers that take a path.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

namespace vornik::fuzz {

// Takes an input apart from the front; past its end everything reads as zero or empty.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : rest_(data, size) {}

  bool empty() const { return rest_.empty(); }
  uint8_t byte() {
    const auto part = take(1);
    return part.empty() ? 0 : part[0];
  }
  uint16_t be16() {
    const uint8_t high = byte();
    return uint16_t(high << 8 | byte());
  }
  // Up to `count` bytes.
  std::span<const uint8_t> take(size_t count) {
    const auto part = rest_.first(std::min(count, rest_.size()));
    rest_ = rest_.subspan(part.size());
    return part;
  }
  std::span<const uint8_t> rest() { return take(rest_.size()); }

 private:
  std::span<const uint8_t> rest_;
};

// A file in a private folder of its own, removed with the folder when the process ends.
class InputFile {
 public:
  explicit InputFile(const char* name = "input") {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornik-fuzz-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    path_ = (folder_ / name).string();
  }
  ~InputFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::string& path() const { return path_; }
  // Another file in the same folder.
  std::string beside(const char* name) const { return (folder_ / name).string(); }

  void write(std::span<const uint8_t> bytes) const {
    FILE* file = std::fopen(path_.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    std::fclose(file);
  }

 private:
  std::filesystem::path folder_;
  std::string path_;
};

}  // namespace vornik::fuzz
