#include "ctl/phonebook_commands.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ctl/ascii_text.h"
#include "ctl/csv_phonebook.h"
#include "ctl/exit_status.h"
#include "ctl/field_output.h"
#include "ctl/phonebook_rows.h"
#include "ctl/progress_bar.h"
#include "ctl/transfer_meter.h"
#include "ctl/vcard_phonebook.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_file.h"
#include "phonebook/phonebook_store.h"
#include "phonebook/phonebook_transfer.h"
#include "platform/safe_save.h"

namespace vornik::ctl {
namespace {

namespace fs = std::filesystem;

// No phonebook file in any of the formats comes near this; a larger one is not read.
constexpr uintmax_t kLargestImportFile = 16u << 20;

// An import says this many reasons a row is refused, then how many more there are.
constexpr size_t kReasonsShown = 20;

// Bytes that move in each device command: request, answer head and body; frame and
// acknowledgement.
uint64_t ReadBytes() {
  return 10 + 11 + uint64_t(kPhonebookRecordSize) * uint64_t(PhonebookEntryCount());
}
uint64_t WriteBytes() {
  return 10 + uint64_t(kPhonebookRecordSize) * uint64_t(PhonebookEntryCount()) + 10;
}

// The bar of one phonebook transfer, moved by the bytes that go to and come from the
// device.
class TransferBar {
 public:
  TransferBar(CtlIo& io, bool shown, uint64_t total)
      : bar_(io.out, shown, "phonebook"),
        meter_([this, total](uint64_t moved) { bar_.show(int(moved * 100 / total)); }) {}

  // Ends the bar's line for a message; the bar goes on below it.
  void say(CtlIo& io, const std::string& message) {
    bar_.end();
    io.say(message);
  }

 private:
  ProgressBar bar_;
  TransferMeter meter_;
};

void ReadDevicePhonebook(const char* consequence) {
  if (!AllocatePhonebookStore())
    throw CtlFailure(kExitFailure, "no memory for the phonebook");
  if (Mfp_GetPhonebook() == 0)
    throw CtlFailure(kExitNotResponding,
                     std::string("the device did not answer the phonebook read") + consequence);
  RebuildReferenceCounts();
}

void WriteDevicePhonebook(const std::string& backup) {
  if (Mfp_SetPhonebook() != 0)
    return;
  std::string message = "the device did not take the phonebook";
  if (!backup.empty())
    message += "; vornikctl phonebook put " + backup + " sends back what it held";
  throw CtlFailure(kExitNotResponding, message);
}

// Loads a .PBF into the store: a file that cannot be read, or whose header or length is not
// a whole phonebook's, is refused and the store keeps what it held.
void LoadPhonebookFile(const std::string& path) {
  std::error_code failure;
  const uintmax_t size = fs::file_size(path, failure);
  if (failure || !fs::is_regular_file(path, failure))
    throw CtlFailure(kExitFileError, "cannot read the phonebook file " + path);
  if (ReadPhonebookFile(path) == 0) {
    std::ifstream probe(path, std::ios::binary);
    if (!probe)
      throw CtlFailure(kExitFileError, "cannot read the phonebook file " + path);
    if (size < PhonebookFileSize())
      throw CtlFailure(kExitBadInput, path + " is cut short: " + std::to_string(size) +
                                          " bytes, where a phonebook file has " +
                                          std::to_string(PhonebookFileSize()));
    throw CtlFailure(kExitBadInput, path + " is not a phonebook file: its header is not \"" +
                                        std::string(kPhonebookFileMagic) + "\"");
  }
  RebuildReferenceCounts();
}

void SavePhonebookFile(const std::string& path, const char* consequence) {
  bool mayBeTorn = false;
  if (WritePhonebookFile(path, &mayBeTorn) == 0)
    throw CtlFailure(kExitFileError, "cannot write the phonebook file " + path +
                                         (mayBeTorn ? platform::kMayBeDamagedNote : "") +
                                         consequence);
}

// A backup path that names no file yet: the one asked for, or a new one named by the time.
std::string BackupPath(const std::string& asked) {
  if (!asked.empty())
    return asked;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string path = std::string("phonebook-backup-") + stamp + ".pbf";
  for (int n = 2; fs::exists(path); ++n)
    path = std::string("phonebook-backup-") + stamp + "-" + std::to_string(n) + ".pbf";
  return path;
}

// Reads the device's phonebook into a backup file, then sends the store as `fill` leaves
// it. Nothing is sent unless the backup was written.
template <typename Fill>
void ReplaceDevicePhonebook(const CtlRequest& request, CtlIo& io, Fill fill) {
  DeviceSession session(request.port);
  session.requireSetupModel("phonebook");
  TransferBar bar(io, io.outIsTerminal, ReadBytes() + WriteBytes());
  ReadDevicePhonebook("; nothing was sent");
  const std::string backup = BackupPath(request.backupPath);
  SavePhonebookFile(backup, "; nothing was sent");
  bar.say(io, "the device's phonebook is kept in " + backup);
  fill();
  WriteDevicePhonebook(backup);
}

std::string ReadTextFile(const std::string& path) {
  std::error_code failure;
  if (!fs::is_regular_file(path, failure))
    throw CtlFailure(kExitFileError, "cannot read " + path);
  if (fs::file_size(path, failure) > kLargestImportFile)
    throw CtlFailure(kExitBadInput, path + " is larger than any phonebook");
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file)
    throw CtlFailure(kExitFileError, "cannot read " + path);
  return text.str();
}

std::string Extension(const std::string& path) {
  return AsciiLower(fs::path(path).extension().string());
}

PhonebookFormat FormatOf(const CtlRequest& request, const std::string& path) {
  if (request.json)
    return PhonebookFormat::kJson;
  if (request.format != PhonebookFormat::kByExtension)
    return request.format;
  const std::string extension = Extension(path);
  if (extension == ".csv")
    return PhonebookFormat::kCsv;
  if (extension == ".vcf" || extension == ".vcard")
    return PhonebookFormat::kVcard;
  if (extension == ".json")
    return PhonebookFormat::kJson;
  return PhonebookFormat::kByExtension;
}

nlohmann::ordered_json PhonebookJson(const std::vector<PhonebookRow>& rows) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const PhonebookRow& row : rows) {
    nlohmann::ordered_json entry;
    entry["speed-dial"] = row.speedDial;
    entry["name"] = row.name;
    if (row.group)
      entry["members"] = row.members;
    else
      entry["phone-number"] = row.number;
    entries.push_back(std::move(entry));
  }
  nlohmann::ordered_json phonebook;
  phonebook["speed-dials"] = int(MachineState.SpeedDialCount);
  phonebook["entries"] = std::move(entries);
  return phonebook;
}

}  // namespace

int RunPhonebookGet(const CtlRequest& request, CtlIo& io) {
  DeviceSession session(request.port);
  session.requireSetupModel("phonebook");
  {
    TransferBar bar(io, io.outIsTerminal, ReadBytes());
    ReadDevicePhonebook("");
  }
  SavePhonebookFile(request.path, "");
  return kExitOk;
}

int RunPhonebookPut(const CtlRequest& request, CtlIo& io) {
  LoadPhonebookFile(request.path);
  const auto entries = PhonebookStore.entries;
  ReplaceDevicePhonebook(request, io, [&entries] {
    PhonebookStore.entries = entries;
    RebuildReferenceCounts();
  });
  return kExitOk;
}

int RunPhonebookExport(const CtlRequest& request, CtlIo& io) {
  const PhonebookFormat format = FormatOf(request, request.outputPath);
  if (format == PhonebookFormat::kByExtension)
    throw CtlFailure(kExitBadInput, "name the format: --csv, --vcf or --json");
  if (!request.phonebookFile.empty()) {
    LoadPhonebookFile(request.phonebookFile);
  } else {
    DeviceSession session(request.port);
    session.requireSetupModel("phonebook");
    TransferBar bar(io, io.outIsTerminal && !request.outputPath.empty(), ReadBytes());
    ReadDevicePhonebook("");
  }
  const std::vector<PhonebookRow> rows = RowsOfStore();
  std::ostringstream text;
  switch (format) {
    case PhonebookFormat::kCsv:
      text << WriteCsvPhonebook(rows);
      break;
    case PhonebookFormat::kVcard:
      text << WriteVcardPhonebook(rows, request.vcardVersion);
      break;
    default:
      PrintJson(text, PhonebookJson(rows));
      break;
  }
  if (request.outputPath.empty()) {
    io.out << text.str();
    return kExitOk;
  }
  const std::string bytes = text.str();
  if (const platform::SaveOutcome saved = platform::SaveFileSafely(
          request.outputPath, {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
      saved.error != 0) {
    // The safe save refuses every target that is not a regular file with EISDIR.
    std::error_code ignored;
    const bool device = saved.error == EISDIR && !fs::is_directory(request.outputPath, ignored);
    throw CtlFailure(kExitFileError, "cannot write " + request.outputPath + ": " +
                                         (device ? std::string("it is not a regular file")
                                                 : platform::SaveFailureText(saved)));
  }
  return kExitOk;
}

int RunPhonebookImport(const CtlRequest& request, CtlIo& io) {
  const PhonebookFormat format = FormatOf(request, request.path);
  if (format != PhonebookFormat::kCsv && format != PhonebookFormat::kVcard)
    throw CtlFailure(kExitBadInput, "import reads .csv and .vcf files (or say --csv or --vcf)");
  const std::string text = ReadTextFile(request.path);
  const int speedDials = MachineState.SpeedDialCount;
  const ImportedPhonebook imported = format == PhonebookFormat::kCsv
                                         ? ParseCsvPhonebook(text, speedDials)
                                         : ParseVcardPhonebook(text, speedDials);
  std::set<int> refusedLines;
  for (size_t i = 0; i < imported.errors.size(); ++i) {
    const RowError& error = imported.errors[i];
    if (i < kReasonsShown)
      io.err << request.path << ":" << error.line << ": " << Printable(error.reason) << '\n';
    refusedLines.insert(error.line);
  }
  if (imported.errors.size() > kReasonsShown)
    io.say(std::to_string(imported.errors.size() - kReasonsShown) + " more reasons are not shown");
  if (imported.errors.empty() && imported.rows.empty() && !request.allowEmpty)
    throw CtlFailure(kExitBadInput, request.path +
                                        " holds no rows; nothing was written (--allow-empty "
                                        "empties the phonebook)");
  const std::string refused = std::to_string(refusedLines.size()) +
                              (refusedLines.size() == 1 ? " row refused" : " rows refused");
  if (!refusedLines.empty() && !request.skipBad)
    throw CtlFailure(kExitBadInput, refused +
                                        "; nothing was written (--skip-bad writes the rows "
                                        "that can be taken)");
  if (!refusedLines.empty() && imported.rows.empty())
    throw CtlFailure(kExitBadInput, refused + " and none taken; nothing was written");
  if (!refusedLines.empty())
    io.say(refused + ", skipped");
  const auto fill = [&imported] {
    if (!StoreRows(imported.rows))
      throw CtlFailure(kExitFailure, "no memory for the phonebook");
  };
  if (!request.phonebookFile.empty()) {
    fill();
    SavePhonebookFile(request.phonebookFile, "");
  } else {
    ReplaceDevicePhonebook(request, io, fill);
  }
  return kExitOk;
}

}  // namespace vornik::ctl
