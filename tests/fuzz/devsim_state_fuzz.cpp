// The simulator's state file reader, whatever the file holds. A file it refuses changes
// nothing and the message names the line; a file it loads saves back to a file that loads
// to the same content.
#include "devsim/state_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace devsim;
  static const vornik::fuzz::InputFile file("device.state");
  file.write({data, size});
  const DeviceContent factory = FactoryContent();
  DeviceContent content = factory;
  std::string error;

  const LoadResult result = LoadState(file.path(), content, error);

  FUZZ_CHECK(result != LoadResult::kMissing);
  if (result == LoadResult::kBad) {
    FUZZ_CHECK(content == factory);
    FUZZ_CHECK(error.find(": line ") != std::string::npos || error.ends_with(": not a state file"));
    return 0;
  }
  const std::string saved = file.beside("saved.state");
  FUZZ_CHECK(SaveState(content, saved, error));
  DeviceContent reloaded;
  FUZZ_CHECK(LoadState(saved, reloaded, error) == LoadResult::kLoaded);
  FUZZ_CHECK(reloaded == content);
  return 0;
}
