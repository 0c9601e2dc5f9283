#include "bench/file_bench.h"

#include "bench/bench_rows.h"
#include "phonebook/phonebook_file.h"
#include "phonebook/phonebook_store.h"

namespace vornik::bench {
namespace {

constexpr int kFileRepetitions = 5;
constexpr Target kFileTarget = {Target::Kind::kTimeMs, 1};

void SavePhonebook(benchmark::State& state, const std::string& path) {
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
  AddRow(".PBF save (full phonebook)", 0, kFileTarget, plan,
         [phonebook](benchmark::State& state) { SavePhonebook(state, phonebook); });
  AddRow(".PBF load (full phonebook)", 0, kFileTarget, plan,
         [phonebook](benchmark::State& state) { LoadPhonebook(state, phonebook); });
}

}  // namespace vornik::bench
