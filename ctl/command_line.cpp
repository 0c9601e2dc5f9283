#include "ctl/command_line.h"

#include <algorithm>

#include <CLI/CLI.hpp>

#include "ctl/exit_status.h"
#include "ctl/setup_commands.h"
#include "link/connection.h"

namespace vornik::ctl {
namespace {

constexpr const char* kExitStatusHelp =
    "Exit status:\n"
    "  0  success\n"
    "  1  any other failure\n"
    "  2  the port is busy: another program (the panel, the scanner driver) holds it\n"
    "  3  the device does not answer, or a transfer to or from it failed\n"
    "  4  no device at the ports tried, or one without the function asked for\n"
    "  5  the device's port exists but this user may not open it\n"
    "  6  bad input: usage, an unknown field, a value out of range, a bad file, rows refused\n"
    "  7  a file cannot be read or written, or the results cannot be written to stdout\n";

constexpr const char* kPortHelp =
    "The device is found as the panel finds it: the USB printer port whose device ID names\n"
    "the device, else the one chosen in the panel, else the only USB printer port, else the\n"
    "parallel port. Among several USB printer ports that cannot be told apart a command\n"
    "refuses to guess (status 4) and names them: see vornikctl ports. --port takes one port\n"
    "kind without fallback; --device names its device file or bridge socket.\n";

// Which subcommand of `parent` was given, by the table of `commands`.
struct SubcommandOf {
  CLI::App* app;
  Command command;
};

}  // namespace

std::variant<CtlRequest, int> ParseCommandLine(const std::vector<std::string>& args, CtlIo& io) {
  CtlRequest request;
  CLI::App app("Reads and sets the device's settings, phonebook and firmware from a script.",
               "vornikctl");
  app.set_version_flag("--version", "vornikctl " VORNIK_VERSION);
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(std::string(kPortHelp) + "\n" + kExitStatusHelp);

  std::string port;
  app.add_flag("--json", request.json,
               "print what info, settings get, advanced get and phonebook export read as JSON");
  app.add_option("--port", port, "use this port without discovery: usb, lpt1 or ecp1")
      ->check(CLI::IsMember({"usb", "lpt1", "ecp1"}));
  app.add_option("--device", request.port.devicePath,
                 "the port's device file or bridge socket (with --port; usb if not given)");

  std::vector<SubcommandOf> commands;
  const auto command = [&commands](CLI::App* parent, const char* name, const char* help,
                                   Command which) {
    CLI::App* sub = parent->add_subcommand(name, help);
    commands.push_back({sub, which});
    return sub;
  };
  const auto fileArgument = [&request](CLI::App* sub, const char* name, const char* help) {
    sub->add_option(name, request.path, help)->required();
  };
  const auto backupOption = [&request](CLI::App* sub) {
    sub->add_option("--backup", request.backupPath,
                    "where the device's phonebook is kept before it is replaced (default: a "
                    "new phonebook-backup-YYYYMMDD-HHMMSS.pbf in the current folder)");
  };
  const auto formatFlags = [&request](CLI::App* sub) {
    CLI::Option* csv = sub->add_flag_callback(
        "--csv", [&request] { request.format = PhonebookFormat::kCsv; }, "CSV (RFC 4180)");
    CLI::Option* vcf = sub->add_flag_callback(
        "--vcf", [&request] { request.format = PhonebookFormat::kVcard; }, "vCard");
    csv->excludes(vcf);
  };
  const auto pbfOption = [&request](CLI::App* sub) {
    sub->add_option("--file", request.phonebookFile,
                    "a phonebook file (.pbf) instead of the device");
  };

  command(&app, "info", "the device's versions, free memory (percent), counters and model code",
          Command::kInfo);
  command(&app, "ports",
          "every port the device may be on: path, kind, whether its device ID names the "
          "device, whether the commands take it, the ID; nothing is sent",
          Command::kPorts);

  const auto setupRecord = [&](const char* name, const char* help, Command get, Command set,
                               const std::string& fields) {
    CLI::App* record = app.add_subcommand(name, help);
    record->require_subcommand(1);
    command(record, "get", "print every field", get);
    CLI::App* change = command(
        record, "set", "change the named fields, keep the others as the device has them", set);
    change->add_option("field=value", request.assignments, "the fields to change")->required();
    change->footer(fields);
  };
  setupRecord("settings", "the Settings page's record", Command::kSettingsGet,
              Command::kSettingsSet, SettingsFieldHelp());
  setupRecord("advanced", "the Advanced page's record", Command::kAdvancedGet,
              Command::kAdvancedSet, AdvancedFieldHelp());

  CLI::App* phonebook = app.add_subcommand("phonebook", "the phonebook");
  phonebook->require_subcommand(1);
  CLI::App* get = command(phonebook, "get", "read the device's phonebook into a .pbf file",
                          Command::kPhonebookGet);
  fileArgument(get, "FILE.pbf", "the phonebook file to write");
  CLI::App* put = command(phonebook, "put", "send a .pbf file to the device, keeping a backup",
                          Command::kPhonebookPut);
  fileArgument(put, "FILE.pbf", "the phonebook file to send");
  backupOption(put);
  CLI::App* exportCommand = command(
      phonebook, "export", "write the phonebook as CSV, vCard or JSON", Command::kPhonebookExport);
  formatFlags(exportCommand);
  exportCommand
      ->add_option("--vcard-version", request.vcardVersion, "the vCard version: 3 or 4 (default 3)")
      ->check(CLI::IsMember({3, 4}));
  pbfOption(exportCommand);
  exportCommand->add_option("-o,--output", request.outputPath,
                            "the file to write instead of stdout; its extension (.csv, .vcf, "
                            ".json) names the format when no flag does");
  CLI::App* import =
      command(phonebook, "import", "replace the phonebook with a CSV or vCard file's rows",
              Command::kPhonebookImport);
  fileArgument(import, "FILE", "the .csv or .vcf file to read");
  formatFlags(import);
  pbfOption(import);
  import->add_flag("--skip-bad", request.skipBad,
                   "write the rows that can be taken even when others are refused");
  import->add_flag("--allow-empty", request.allowEmpty,
                   "empty the phonebook when the file holds no rows (else refused)");
  backupOption(import);

  CLI::App* firmware =
      command(&app, "firmware", "send a firmware image to the device", Command::kFirmware);
  fileArgument(firmware, "FILE", "the image file, sent unchanged");

  try {
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
  } catch (const CLI::Success& answered) {
    return app.exit(answered, io.out, io.err);
  } catch (const CLI::ParseError& refused) {
    io.say(refused.what());
    io.err << "Run vornikctl --help for the commands and their options.\n";
    return kExitBadInput;
  }

  for (const SubcommandOf& candidate : commands)
    if (candidate.app->parsed())
      request.command = candidate.command;
  if (port == "usb")
    request.port.kind = kPortUsb;
  else if (port == "lpt1")
    request.port.kind = kPortLpt1;
  else if (port == "ecp1")
    request.port.kind = kPortEcp1;
  return request;
}

}  // namespace vornik::ctl
