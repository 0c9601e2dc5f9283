// The settings file (.STF) reader, whatever the file holds. A file is taken only when it is
// exactly 135 bytes with the header a save writes (bytes 36 to 39 aside); a refused file says
// whether its kind, version or size is wrong, and changes nothing. A taken file sets both
// records from its wire bytes (advanced texts cut at their first NUL, toll-saver times
// clamped), and saving them writes that header and those bytes back.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "advanced_payload_form.h"
#include "scripted_link.h"
#include "settings/settings_file.h"
#include "tests/support/file_bytes.h"

namespace {

using namespace vornik;

constexpr size_t kKindBytes = 24;      // the file kind's text, then zero bytes
constexpr size_t kCheckedHeader = 36;  // kind, version and both record sizes
constexpr size_t kSystemAt = 40;
constexpr size_t kAdvancedAt = kSystemAt + system_setup_wire::kFieldBytes;

// The first bytes of a file the program saves.
const std::vector<uint8_t>& SavedHeader(const fuzz::InputFile& file) {
  static const std::vector<uint8_t> header = [&] {
    const std::string path = file.beside("HEADER.STF");
    FUZZ_CHECK(SettingsFileStep(path, SettingsFileAction::kSave) == SettingsFileResult::kDone);
    const auto bytes = test::ReadFileBytes(path);
    FUZZ_CHECK(bytes.size() == kSettingsFileSize);
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + kCheckedHeader);
  }();
  return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::InputFile file("SETUP.STF");
  fuzz::ScriptedLink link;  // start-up machine state
  const auto& header = SavedHeader(file);
  file.write({data, size});
  const auto before = fuzz::MachineStateBytes();

  const SettingsFileResult result = SettingsFileStep(file.path(), SettingsFileAction::kLoad);

  const bool kind = size >= 40 && std::equal(data, data + kKindBytes, header.begin());
  const bool taken = size == kSettingsFileSize && std::equal(header.begin(), header.end(), data);
  FUZZ_CHECK((result == SettingsFileResult::kWrongKind) == !kind);
  FUZZ_CHECK((result == SettingsFileResult::kDone) == taken);
  if (!taken) {
    FUZZ_CHECK(result == SettingsFileResult::kWrongKind ||
               result == SettingsFileResult::kWrongVersion ||
               result == SettingsFileResult::kWrongSize);
    FUZZ_CHECK(fuzz::MachineStateBytes() == before);
    return 0;
  }
  std::vector<uint8_t> expected(header);
  expected.resize(kSystemAt);
  expected.insert(expected.end(), data + kSystemAt, data + kAdvancedAt);
  const auto kept = fuzz::AdvancedPayloadAsKept(data + kAdvancedAt);
  expected.insert(expected.end(), kept.begin(), kept.end());

  const std::string saved = file.beside("SAVED.STF");
  FUZZ_CHECK(SettingsFileStep(saved, SettingsFileAction::kSave) == SettingsFileResult::kDone);
  FUZZ_CHECK(test::ReadFileBytes(saved) == expected);
  const auto loaded = fuzz::MachineStateBytes();
  DefaultMachineState();
  FUZZ_CHECK(SettingsFileStep(saved, SettingsFileAction::kLoad) == SettingsFileResult::kDone);
  FUZZ_CHECK(fuzz::MachineStateBytes() == loaded);
  return 0;
}
