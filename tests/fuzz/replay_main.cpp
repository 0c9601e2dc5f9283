// Runs a fuzz target once on each input named (files, or folders of files) where no
// fuzzing engine is at hand: the corpus is checked with every compiler.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void RunOn(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  size_t inputs = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
        RunOn(entry.path());
        ++inputs;
      }
    } else {
      RunOn(argv[i]);
      ++inputs;
    }
  }
  std::printf("%zu inputs, every invariant held\n", inputs);
  return inputs > 0 ? 0 : 1;
}
