#include "bench/file_bench.h"

#include "bench/bench_rows.h"
#include "bench/temp_folder.h"
#include "phonebook/phonebook_file.h"
#include "phonebook/phonebook_store.h"
#include "settings/settings_file.h"

namespace vornik::bench {
namespace {

constexpr int kFileRepetitions = 5;
constexpr Target kPhonebookFileTarget = {Target::Kind::kTimeMs, 1};
// Memory that a save flushes at once: what a save costs without the disk's wait.
constexpr const char* kMemoryFolder = "/dev/shm";

void SavePhonebook(benchmark::State& state, const std::string& path) {
  if (path.empty()) {
    state.SkipWithError("no folder for the file");
    return;
  }
  FillPhonebook();
  for (auto _ : state) {
    if (WritePhonebookFile(path) == 0)
      state.SkipWithError("the phonebook file could not be written");
  }
}

void LoadPhonebook(benchmark::State& state, const std::string& path) {
  if (WritePhonebookFile(path) == 0) {
    state.SkipWithError("the phonebook file could not be written");
    return;
  }
  for (auto _ : state) {
    if (ReadPhonebookFile(path) == 0)
      state.SkipWithError("the phonebook file could not be read");
  }
}

// The setup file with the records the device gave at start-up.
void SettingsFile(benchmark::State& state, const std::string& path, SettingsFileAction action) {
  if (SettingsFileStep(path, SettingsFileAction::kSave) != SettingsFileResult::kDone) {
    state.SkipWithError("the settings file could not be written");
    return;
  }
  for (auto _ : state) {
    if (SettingsFileStep(path, action) != SettingsFileResult::kDone)
      state.SkipWithError("the settings file step failed");
  }
}

}  // namespace

void FillPhonebook() {
  for (size_t i = 0; i < PhonebookStore.entries.size(); ++i) {
    PhonebookEntry& entry = PhonebookStore.entries[i];
    const std::string index = std::to_string(i);
    entry.groupFlag = 0;
    SetEntryName(entry, std::string(kEntryNameSize - index.size(), 'N') + index);
    SetEntryDialNumber(entry, std::string(kDialDataSize - index.size(), '5') + index);
  }
  RebuildReferenceCounts();
}

void AddFileRows(const BenchDevice& device) {
  const RunPlan plan = {.repetitions = kFileRepetitions, .singleIteration = false};
  const std::string phonebook = device.file("phonebook.pbf");
  AddRow(".PBF save (full phonebook)", 0, kPhonebookFileTarget, plan,
         [phonebook](benchmark::State& state) { SavePhonebook(state, phonebook); });
  static const TempFolder memory(kMemoryFolder);
  const std::string inMemory = memory.made() ? memory.file("phonebook.pbf") : std::string();
  AddRow(".PBF save to tmpfs (no disk wait)", 0, kPhonebookFileTarget, plan,
         [inMemory](benchmark::State& state) { SavePhonebook(state, inMemory); });
  AddRow(".PBF load (full phonebook)", 0, kPhonebookFileTarget, plan,
         [phonebook](benchmark::State& state) { LoadPhonebook(state, phonebook); });
  const std::string settings = device.file("settings.stf");
  AddRow(".STF save", 0, {}, plan, [settings](benchmark::State& state) {
    SettingsFile(state, settings, SettingsFileAction::kSave);
  });
  AddRow(".STF load", 0, {}, plan, [settings](benchmark::State& state) {
    SettingsFile(state, settings, SettingsFileAction::kLoad);
  });
}

}  // namespace vornik::bench
