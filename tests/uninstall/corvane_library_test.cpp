// The built hook as a file: what it needs from the system and what it exposes.
#include <unistd.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The output lines of readelf run with the given options on the hook, or nothing when
// readelf is not there.
std::vector<std::string> readelfLines(const std::string& options) {
  std::vector<std::string> lines;
  const std::string command =
      std::string(CORVANE_READELF) + " " + options + " '" + CORVANE_LIBRARY + "' 2>/dev/null";
  FILE* output = popen(command.c_str(), "r");
  if (output == nullptr) {
    return lines;
  }
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, output) != nullptr) {
    lines.emplace_back(buffer);
  }
  pclose(output);
  return lines;
}

bool readelfAvailable() {
  return std::string(CORVANE_READELF).size() > 0 && access(CORVANE_READELF, X_OK) == 0;
}

TEST(CorvaneLibrary, NeedsNothingBeyondTheRuntime) {
  if (!readelfAvailable()) {
    GTEST_SKIP() << "readelf not found";
  }
  std::vector<std::string> allowed = {"libc.so", "libstdc++.so", "libgcc_s.so", "libm.so",
                                      "ld-linux"};
  if (CORVANE_SANITIZED) {
    allowed.insert(allowed.end(), {"libasan.so", "libubsan.so"});
  }
  int needed = 0;
  for (const std::string& line : readelfLines("-d -W")) {
    if (line.find("(NEEDED)") == std::string::npos) {
      continue;
    }
    ++needed;
    const std::string name = line.substr(line.find('[') + 1);
    bool isRuntime = false;
    for (const std::string& prefix : allowed) {
      isRuntime = isRuntime || name.starts_with(prefix);
    }
    EXPECT_TRUE(isRuntime) << line;
  }
  EXPECT_GT(needed, 0) << "readelf showed no dynamic section";
}

TEST(CorvaneLibrary, ExportsOnlyItsThreeEntryPoints) {
  if (!readelfAvailable()) {
    GTEST_SKIP() << "readelf not found";
  }
  std::set<std::string> defined;
  for (const std::string& line : readelfLines("--dyn-syms -W")) {
    std::istringstream fields(line);
    std::string number, value, size, type, bind, visibility, section, name;
    fields >> number >> value >> size >> type >> bind >> visibility >> section >> name;
    if ((bind == "GLOBAL" || bind == "WEAK") && section != "UND" && !name.empty()) {
      defined.insert(name.substr(0, name.find('@')));
    }
  }
  EXPECT_EQ(defined, (std::set<std::string>{"DllMain", "UninstInitialize", "UninstUnInitialize"}));
}

}  // namespace
