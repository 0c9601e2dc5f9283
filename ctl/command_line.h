// vornikctl's command line: the subcommands, their options and the global options, read
// into one request. --help and --version are answered here.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "ctl/ctl_io.h"
#include "ctl/device_session.h"

namespace vornik::ctl {

enum class Command {
  kInfo,
  kSettingsGet,
  kSettingsSet,
  kAdvancedGet,
  kAdvancedSet,
  kPhonebookGet,
  kPhonebookPut,
  kPhonebookExport,
  kPhonebookImport,
  kFirmware,
  kPorts,
};

enum class PhonebookFormat { kByExtension, kCsv, kVcard, kJson };

struct CtlRequest {
  Command command = Command::kInfo;
  bool json = false;
  PortChoice port;                       // --port, --device
  std::vector<std::string> assignments;  // set: field=value
  std::string path;                      // the command's file argument
  std::string phonebookFile;             // export, import: --file, a .PBF instead of the device
  std::string outputPath;                // export: -o
  std::string backupPath;                // put, import: --backup
  PhonebookFormat format = PhonebookFormat::kByExtension;
  int vcardVersion = 3;
  bool skipBad = false;
  bool allowEmpty = false;  // import: a file without rows empties the phonebook
};

// The request of the command line `args` (without the program name), or the exit status
// when the command line was answered (--help, --version: 0) or refused (kExitBadInput,
// with the reason on `io.err`).
std::variant<CtlRequest, int> ParseCommandLine(const std::vector<std::string>& args, CtlIo& io);

}  // namespace vornik::ctl
