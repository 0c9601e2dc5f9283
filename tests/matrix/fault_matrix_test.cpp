// The fault matrix: every device command a user can give (rows) against every fault the
// simulated device can show, a link cut in the middle of the command and an answer that an
// earlier command left unread (columns). Each
// cell runs on a fresh bench and checks that the command ends within its budget on the
// fake clock, that its user is told exactly when it failed, and that a command that failed
// left the records, the store, the files, the device and its page as they were, while one
// that succeeded has the result of its fault-free run. The matrix is printed.
#include <gtest/gtest.h>

#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "command_rows.h"
#include "devsim/device_model.h"
#include "devsim/faults.h"
#include "link/command_frame.h"

namespace vornik::test {
namespace {

// Every look at the fake clock moves it by 1 ms, and a command looks thousands of times.
constexpr uint32_t kClockLooksMs = 100;
// A command still running this many times past its budget hangs.
constexpr uint32_t kHangFactor = 10;

struct FaultColumn {
  std::string name;
  // Turns the fault on; `commandBytes`: what the command moves over the link unfaulted.
  std::function<void(Bench&, size_t commandBytes)> turnOn;
};

std::vector<FaultColumn> FaultColumns() {
  std::vector<FaultColumn> columns;
  for (const devsim::FaultInfo& info : devsim::AllFaults())
    columns.push_back({std::string(info.name), [fault = info.fault](Bench& bench, size_t) {
                         bench.sim.model.setFault(fault);
                       }});
  columns.push_back({"disconnect", [](Bench& bench, size_t commandBytes) {
                       bench.link.limit = bench.link.carried + commandBytes / 2;
                     }});
  // A command before this one was stopped after its request: its answer waits in the device.
  columns.push_back({"unread-answer", [](Bench& bench, size_t) {
                       const uint8_t informationRead[] = {0x1B, 0xA4,          0x00,
                                                          0x05, 0x50,          0xE0,
                                                          0x82, kOpReadRecord, kRecordDeviceInfo};
                       bench.sim.model.write(informationRead, bench.now());
                       bench.fake.clock.sleep(devsim::kRecordDelayMs);
                     }});
  return columns;
}

// Cells whose right result is not the fault-free run's, each for its reason.
struct KnownCell {
  std::string_view row;
  std::string_view column;
  std::string_view outcome;
  std::string_view why;
  std::function<void(Snapshot&)> expect;  // how the fault changes the fault-free result
};

const KnownCell kKnownCells[] = {
    {"Start-up inquiry", "short-answer", "ok",
     "an inquiry answer of 5 bytes names no model: the panel is model 0's",
     [](Snapshot& s) { s["shown"] = "model 0 on port 0"; }},
    {"Start-up inquiry", "wrong-model", "ok", "the device says it is model 3: the panel is its",
     [](Snapshot& s) { s["shown"] = "model 3 on port 0"; }},
    {"vornikctl info", "wrong-model", "ok", "the device says it is model 3: info names it",
     [](Snapshot& s) {
       s["shown"].replace(s["shown"].rfind("model                 2"), 23,
                          "model                 3");
     }},
    {"Firmware Update", "drop-transfer", "lost",
     "the device drops the image and takes the rest for stray bytes; no block is answered",
     nullptr},
    {"vornikctl firmware", "drop-transfer", "lost",
     "the same common way as the page's: no block is answered, so none can be found missing",
     nullptr},
    {"Firmware Update (ECP)", "silent", "lost",
     "no announce is answered on the ECP device: one deaf to it cannot be told apart", nullptr},
};

const KnownCell* FindKnownCell(std::string_view row, std::string_view column) {
  for (const KnownCell& cell : kKnownCells)
    if (cell.row == row && cell.column == column)
      return &cell;
  return nullptr;
}

// One run of a command: the state before and after, its time, its traffic, what it told.
struct CellRun {
  Snapshot before;
  Snapshot after;
  uint32_t elapsedMs = 0;
  size_t carried = 0;
  Report report;
};

Snapshot TakeState(Bench& bench, const Command& command) {
  bench.settleDevice();
  Snapshot snapshot;
  if (!command.endsWithItsProgram()) {
    AddRecords(snapshot);
    AddPhonebookStore(snapshot);
  }
  AddDeviceContent(snapshot, bench.sim.model.content());
  AddFiles(snapshot, bench.folder.path());
  command.addShown(snapshot);
  return snapshot;
}

// Runs the row's command on a fresh bench, under the column's fault (none: null).
CellRun RunCell(const CommandRow& row, const FaultColumn* column, size_t commandBytes) {
  Bench bench;
  const auto command = row.make();
  command->arrange(bench);
  CellRun run;
  run.before = TakeState(bench, *command);
  if (column != nullptr)
    column->turnOn(bench, commandBytes);
  const uint32_t start = bench.now();
  const size_t carried = bench.link.carried;
  bench.clock.watch(row.name + " under " + (column ? column->name : "no fault"),
                    kHangFactor * row.budgetMs);
  run.report = command->run(bench);
  bench.clock.stop();
  run.elapsedMs = bench.now() - start;
  run.carried = bench.link.carried - carried;
  run.after = TakeState(bench, *command);
  return run;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string joined;
  for (const std::string& part : parts)
    joined += (joined.empty() ? "" : ", ") + part;
  return joined;
}

struct Verdict {
  std::string outcome;  // "box", "ok", "box+", "lost"; empty when the cell fits none
  bool pass = false;
  std::string detail;
};

// box:  told of the failure; the state is as it was.
// ok:   not told of a failure; the state is the fault-free run's result.
// box+: told of the failure, though the device took what was sent (its answer was not a
//       whole acknowledgement); nothing is lost and the command can be given again.
// lost: not told of a failure, though nothing happened; only where a known cell says so.
Verdict Judge(const CommandRow& row, const CellRun& run, Snapshot expected,
              const KnownCell* known) {
  if (known != nullptr && known->expect)
    known->expect(expected);
  const auto changed = DifferingParts(run.before, run.after, false);
  const auto unlikeResult = DifferingParts(expected, run.after, true);
  Verdict verdict;
  if (run.report.failed) {
    if (changed.empty()) {
      verdict.outcome = "box";
    } else if (row.sends && unlikeResult.empty()) {
      verdict.outcome = "box+";
    }
  } else if (unlikeResult.empty()) {
    verdict.outcome = "ok";
  } else if (changed.empty()) {
    verdict.outcome = "lost";
  }
  const uint32_t budget = row.budgetMs + kClockLooksMs;
  verdict.pass = !verdict.outcome.empty() && run.report.problem.empty() &&
                 run.elapsedMs <= budget && (verdict.outcome != "lost" || known != nullptr) &&
                 (known == nullptr || known->outcome == verdict.outcome);
  verdict.detail = std::string(run.report.failed ? "told it failed" : "told it succeeded") +
                   "; changed: [" + Join(changed) + "]; unlike the fault-free result: [" +
                   Join(unlikeResult) + "]; took " + std::to_string(run.elapsedMs) + " of " +
                   std::to_string(budget) + " ms" +
                   (run.report.problem.empty() ? "" : "; " + run.report.problem);
  return verdict;
}

// The offscreen platform notes each window shown that it cannot pass on size hints; the
// matrix shows hundreds.
QtMessageHandler otherMessages = nullptr;
void DropSizeHintNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (!text.contains(QStringLiteral("propagateSizeHints")) && otherMessages != nullptr)
    otherMessages(type, context, text);
}

std::string Pad(std::string text, size_t width) {
  text.resize(std::max(width, text.size()), ' ');
  return text;
}

TEST(FaultMatrix, EveryCommandEndsInTimeTellsItsUserAndKeepsItsStateUnlessItSucceeded) {
  otherMessages = qInstallMessageHandler(DropSizeHintNotes);
  const auto rows = CommandRows();
  const auto columns = FaultColumns();
  size_t rowWidth = 0;
  for (const CommandRow& row : rows)
    rowWidth = std::max(rowWidth, row.name.size());

  std::string table = Pad("", rowWidth) + "  budget ms  longest  none ";
  for (const FaultColumn& column : columns)
    table += " " + column.name;
  table += "\n";
  std::vector<std::string> notes;
  for (const CommandRow& row : rows) {
    const CellRun clean = RunCell(row, nullptr, 0);
    const Verdict cleanVerdict = Judge(row, clean, clean.after, nullptr);
    EXPECT_EQ(cleanVerdict.outcome, "ok")
        << row.name << " without a fault: " << cleanVerdict.detail;
    EXPECT_FALSE(DifferingParts(clean.before, clean.after, true).empty())
        << row.name << " changes nothing the matrix sees, so it cannot tell success from failure";
    uint32_t longest = clean.elapsedMs;
    std::string line = "  " + Pad(cleanVerdict.outcome, 5);
    for (const FaultColumn& column : columns) {
      const KnownCell* known = FindKnownCell(row.name, column.name);
      const CellRun run = RunCell(row, &column, clean.carried);
      const Verdict verdict = Judge(row, run, clean.after, known);
      EXPECT_TRUE(verdict.pass) << row.name << " under " << column.name << ": " << verdict.detail;
      longest = std::max(longest, run.elapsedMs);
      std::string cell = verdict.pass ? verdict.outcome + (known ? "*" : "") : "FAIL";
      line += " " + Pad(cell, column.name.size());
      if (known != nullptr)
        notes.push_back("* " + row.name + " under " + column.name + ": " + std::string(known->why));
    }
    table += Pad(row.name, rowWidth) + "  " + Pad(std::to_string(row.budgetMs), 9) + "  " +
             Pad(std::to_string(longest), 7) + line + "\n";
  }
  std::printf(
      "\n%s\nbox: the user is told it failed (box, message or exit status), and everything is "
      "as it was\nok: no failure told, and the result is the fault-free run's\nbox+: told it "
      "failed, though the device took what was sent; nothing is lost\nlost: no failure "
      "told, and nothing happened\n",
      table.c_str());
  for (const std::string& note : notes)
    std::printf("%s\n", note.c_str());
  qInstallMessageHandler(otherMessages);
}

}  // namespace
}  // namespace vornik::test
