#include <gmock/gmock.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "link/machine_state.h"
#include "platform/fake_platform.h"
#include "settings/settings_file.h"
#include "tests/support/file_bytes.h"

namespace vornik::test {
namespace {

namespace fs = std::filesystem;

// Both records as the device sends them, every byte other than the defaults.
void UseDeviceValues() {
  uint8_t system[system_setup_wire::kFieldBytes];
  for (size_t i = 0; i < sizeof system; ++i)
    system[i] = uint8_t(0x11 + i);
  MachineState.SystemSetup = DecodeSystemSetup(system);
  uint8_t advanced[advanced_setup_wire::kPayloadBytes];
  for (size_t i = 0; i < sizeof advanced; ++i)
    advanced[i] = uint8_t('0' + i % 10);
  MachineState.AdvancedSetup = DecodeAdvancedSetup(advanced);
}

bool SameState(const MachineStateBlock& a, const MachineStateBlock& b) {
  return std::memcmp(&a.SystemSetup, &b.SystemSetup, sizeof a.SystemSetup) == 0 &&
         std::memcmp(&a.AdvancedSetup, &b.AdvancedSetup, sizeof a.AdvancedSetup) == 0;
}

class SettingsFileTest : public testing::Test {
 protected:
  SettingsFileTest() {
    DefaultMachineState();
    std::string pattern = (fs::temp_directory_path() / "vornik-stf-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    path = folder / "SETUP.STF";
  }
  ~SettingsFileTest() override { fs::remove_all(folder); }

  platform::FakePlatform fake;
  fs::path folder;
  fs::path path;
};

TEST_F(SettingsFileTest, BothRecordsComeBackExactlyAsSaved) {
  UseDeviceValues();
  const MachineStateBlock saved = MachineState;
  ASSERT_EQ(SettingsFileStep(path, SettingsFileAction::kSave), SettingsFileResult::kDone);
  const auto bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), kSettingsFileSize);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "ZRV FAX-RCP Settings");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 24)), "1.00");
  EXPECT_THAT(std::vector<uint8_t>(bytes.begin() + 32, bytes.begin() + 42),
              testing::ElementsAre(22, 0, 73, 0, 0, 0, 0, 0, 0x11, 0x12));

  DefaultMachineState();
  ASSERT_EQ(SettingsFileStep(path, SettingsFileAction::kLoad), SettingsFileResult::kDone);
  EXPECT_TRUE(SameState(MachineState, saved));
}

// A file the load refuses changes neither record, and the reason is told apart.
TEST_F(SettingsFileTest, RefusedFilesChangeNothingAndSayWhy) {
  UseDeviceValues();
  ASSERT_EQ(SettingsFileStep(path, SettingsFileAction::kSave), SettingsFileResult::kDone);
  const auto good = ReadFileBytes(path);
  auto changed = [&](size_t offset, uint8_t value) {
    auto bytes = good;
    bytes[offset] = value;
    return bytes;
  };
  auto longer = good;
  longer.push_back(0);
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    SettingsFileResult result;
  } cases[] = {
      {"phonebook file", changed(12, 'P'), SettingsFileResult::kWrongKind},
      {"empty", {}, SettingsFileResult::kWrongKind},
      {"version 2.00", changed(24, '2'), SettingsFileResult::kWrongVersion},
      {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 1),
       SettingsFileResult::kWrongSize},
      {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 40),
       SettingsFileResult::kWrongSize},
      {"too long", longer, SettingsFileResult::kWrongSize},
      {"other record size", changed(34, 72), SettingsFileResult::kWrongSize},
  };
  DefaultMachineState();
  const MachineStateBlock before = MachineState;
  for (const auto& c : cases) {
    WriteFileBytes(path, c.bytes);
    EXPECT_EQ(SettingsFileStep(path, SettingsFileAction::kLoad), c.result) << c.name;
    EXPECT_TRUE(SameState(MachineState, before)) << c.name;
  }
  EXPECT_EQ(SettingsFileStep(folder / "MISSING.STF", SettingsFileAction::kLoad),
            SettingsFileResult::kUnreadable);
  EXPECT_EQ(SettingsFileStep(folder / "NO" / "SUCH.STF", SettingsFileAction::kSave),
            SettingsFileResult::kUnwritable);
}

}  // namespace
}  // namespace vornik::test
