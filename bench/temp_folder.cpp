#include "bench/temp_folder.h"

#include <stdlib.h>

namespace vornik::bench {

TempFolder::TempFolder(const std::filesystem::path& parent) {
  std::string pattern = (parent / "vornik-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr)
    path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (made())
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace vornik::bench
