// vornikctl's commands in-process against the simulated device: what each prints, its exit
// status for each way it can fail, and what reaches the device.
#include <gmock/gmock.h>

#include <nlohmann/json.hpp>

#include "ctl/exit_status.h"
#include "ctl_fixture.h"
#include "devsim/device_content.h"
#include "link/command_frame.h"
#include "settings/advanced_setup.h"
#include "settings/system_setup.h"
#include "tests/support/printer_tree.h"

namespace vornik::ctl::test {
namespace {

using testing::AllOf;
using testing::EndsWith;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;

int RefusingPortAcquire(int) {
  return 0;
}
int PortRelease(int) {
  return 1;
}

TEST_F(CtlTest, EachWayTheDeviceCannotBeHadHasItsExitStatus) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"arbitration refuses",
       [this] {
         fake.libraries.add("grenlo.dll", {{"PortAcquire", (void*)RefusingPortAcquire},
                                           {"PortRelease", (void*)PortRelease}});
       },
       {"info"},
       kExitPortBusy,
       "vornikctl: the device's port is busy"},
      {"nothing at the path",
       [] {},
       {"--device", "/nonexistent/vornik", "info"},
       kExitNoDevice,
       "vornikctl: no device found (tried /nonexistent/vornik)"},
      {"no USB library",
       [] {},
       {"--port", "usb", "info"},
       kExitNoDevice,
       "vornikctl: no USB device found"},
      {"the port refuses this user",
       [this] {
         fake.devices.remove(PortNameTable[size_t(kPortEcp1)]);
         fake.devices.denied = {PortNameTable[size_t(kPortEcp1)]};
       },
       {"info"},
       kExitPermissionDenied,
       "vornikctl: you may not open the device's port /dev/parport0"},
      {"silent device",
       [this] { sim.model.setFault(devsim::Fault::kSilent); },
       {"info"},
       kExitNotResponding,
       "vornikctl: the device on /dev/parport0 does not answer"},
      {"an inquiry answer cut short",
       [this] { sim.model.setFault(devsim::Fault::kShortAnswer); },
       {"phonebook", "get", "x.pbf"},
       kExitNotResponding,
       "vornikctl: the device's answer to the inquiry was cut short or bad"},
      {"a device that refuses opens",
       [this] {
         fake.devices.add("/dev/null", sim.factory());
         sim.model.setFault(devsim::Fault::kBusy);
       },
       {"--device", "/dev/null", "info"},
       kExitNotResponding,
       "vornikctl: the device on /dev/null cannot be opened: another program may be using it"},
      {"a regular file for the device",
       [this] { write("requests", "kept"); },
       {"--device", file("requests"), "info"},
       kExitBadInput,
       "vornikctl: --device: " + file("requests") + " is neither a character device nor a socket"},
      {"a folder for the device",
       [] {},
       {"--port", "ecp1", "--device", "/tmp", "info"},
       kExitBadInput,
       "vornikctl: --device: /tmp is neither a character device nor a socket"},
      {"a model without the setup pages",
       [this] { sim.model.setFault(devsim::Fault::kWrongModel); },
       {"settings", "get"},
       kExitNoDevice,
       "vornikctl: the device (model 3) has no settings"},
      {"unknown command", [] {}, {"frobnicate"}, kExitBadInput, "vornikctl: "},
      {"set without a field",
       [] {},
       {"settings", "set"},
       kExitBadInput,
       "vornikctl: field=value is required"},
      {"unknown port",
       [] {},
       {"--port", "com1", "info"},
       kExitBadInput,
       "vornikctl: --port: com1 not in {usb,lpt1,ecp1}"},
  };
  for (const Case& c : cases) {
    c.arrange();
    const CtlRun result = run(c.args);
    EXPECT_EQ(result.status, c.status) << c.what << "\n" << result.err;
    EXPECT_THAT(result.err, StartsWith(c.message)) << c.what;
    EXPECT_THAT(result.out, IsEmpty()) << c.what;
    // The next case finds the device as it was.
    for (auto fault : {devsim::Fault::kSilent, devsim::Fault::kWrongModel,
                       devsim::Fault::kShortAnswer, devsim::Fault::kBusy})
      sim.model.setFault(fault, false);
    fake.devices.denied.clear();
    fake.devices.add(PortNameTable[size_t(kPortEcp1)], sim.factory());
    fake.libraries = platform::FakeLibraries{};
  }
}

TEST_F(CtlTest, InfoPrintsTheInformationPagesValuesAsLinesOrJson) {
  const CtlRun lines = run({"info"});
  EXPECT_EQ(lines.status, kExitOk) << lines.err;
  EXPECT_EQ(lines.out,
            "firmware-version      2.14\n"
            "engine-version        V1.3.2\n"
            "emulation-version     MARV 1.21 04-08-2003\n"
            "free-memory           87\n"
            "print-count           5127\n"
            "platen-scan-count     1843\n"
            "adf-scan-count        962\n"
            "adf-jam-count         4\n"
            "print-jam-count       7\n"
            "replaced-toner-count  3\n"
            "model                 2\n");
  const CtlRun json = run({"info", "--json"});
  const auto info = nlohmann::json::parse(json.out);
  EXPECT_EQ(info["emulation-version"], "MARV 1.21 04-08-2003");
  EXPECT_EQ(info["print-count"], 5127);
}

TEST_F(CtlTest, DeviceTextsThatAreNotUtf8OrHoldControlCharactersPrintSafely) {
  auto& payload = sim.model.content().deviceInfo;
  const char firmware[] = "\x1B[2J\xFF\xFEX";
  std::copy(firmware, firmware + 7, payload.begin() + 25);
  const CtlRun lines = run({"info"});
  EXPECT_THAT(lines.out, StartsWith("firmware-version      ?[2J\xFF\xFEX\n"));
  const CtlRun json = run({"--json", "info"});
  EXPECT_EQ(nlohmann::json::parse(json.out)["firmware-version"], "\x1B[2J\uFFFD\uFFFDX");
}

TEST_F(CtlTest, SetSendsTheRecordBackWithOnlyTheNamedFieldsChanged) {
  auto expected = sim.model.content().systemSetup;
  const CtlRun set = run({"settings", "set", "zoom=300", "copies=12", "paper-type=thin"});
  EXPECT_EQ(set.status, kExitOk) << set.err;
  EXPECT_THAT(set.out, IsEmpty());
  expected[system_setup_wire::kZoom] = 0x01;
  expected[system_setup_wire::kZoom + 1] = 0x2C;
  expected[system_setup_wire::kCopies + 1] = 12;
  expected[system_setup_wire::kPaperType] = 9;
  EXPECT_EQ(sim.model.content().systemSetup, expected);

  auto advanced = sim.model.content().advancedSetup;
  EXPECT_EQ(run({"advanced", "set", "machine-id=acme", "power-save=off"}).status, kExitOk);
  std::fill(advanced.begin() + 20, advanced.begin() + 40, ' ');
  std::copy_n("ACME", 4, advanced.begin() + 20);
  advanced[advanced_setup_wire::kPowerSave] = 0;
  EXPECT_EQ(sim.model.content().advancedSetup, advanced);
}

TEST_F(CtlTest, ARefusedSetSendsNothingAndSaysEveryReason) {
  const CtlRun refused = run({"settings", "set", "zoom=401", "colour=red", "copies", "zoom=300",
                              "contrast=darken", "copies=5", "copies=6"});
  EXPECT_EQ(refused.status, kExitBadInput);
  EXPECT_EQ(refused.err,
            "vornikctl: zoom takes a number from 25 to 400, not \"401\"\n"
            "vornikctl: the settings have no field \"colour\"\n"
            "vornikctl: \"copies\" is not field=value\n"
            "vornikctl: contrast is shown only: the page keeps it as the device has it\n"
            "vornikctl: copies is named twice\n"
            "vornikctl: nothing was sent (see --help for the fields and values)\n");
  EXPECT_THAT(requests, IsEmpty());  // the device was not even asked
  EXPECT_EQ(sim.model.content().systemSetup, devsim::FactoryContent().systemSetup);
}

TEST_F(CtlTest, GetPrintsEveryFieldAsItsSetTakesIt) {
  const CtlRun get = run({"advanced", "get"});
  EXPECT_EQ(get.status, kExitOk);
  EXPECT_THAT(get.out, StartsWith("machine-number       +1 555 0100\n"
                                  "machine-id           VORNIK OFFICE\n"
                                  "prefix-dial          9\n"
                                  "speaker              on\n"));
  EXPECT_THAT(get.out, HasSubstr("toll-start           2002-10-10T22:00\n"));
  // What get shows, set takes back unchanged.
  const auto before = sim.model.content().advancedSetup;
  const auto values = nlohmann::json::parse(run({"--json", "advanced", "get"}).out);
  std::vector<std::string> args = {"advanced", "set"};
  for (const auto& [name, value] : values.items())
    args.push_back(name + "=" + (value.is_string() ? value.get<std::string>() : value.dump()));
  EXPECT_EQ(run(args).status, kExitOk);
  EXPECT_EQ(sim.model.content().advancedSetup, before);
}

TEST_F(CtlTest, PutRefusesABadFileBeforeTheDeviceIsTouched) {
  write("bad-header.pbf", std::string("ZRV FAX-RCP Phonebooc") + std::string(7019, '\0'));
  write("short.pbf", std::string("ZRV FAX-RCP Phonebook") + std::string(100, '\0'));
  const struct {
    std::string name;
    int status;
    std::string message;
  } cases[] = {
      {"bad-header.pbf", kExitBadInput, "is not a phonebook file"},
      {"short.pbf", kExitBadInput, "is cut short: 121 bytes, where a phonebook file has 7040"},
      {"missing.pbf", kExitFileError, "cannot read the phonebook file"},
  };
  for (const auto& c : cases) {
    const CtlRun put = run({"phonebook", "put", file(c.name)});
    EXPECT_EQ(put.status, c.status) << c.name;
    EXPECT_THAT(put.err, HasSubstr(c.message)) << put.err;
  }
  EXPECT_THAT(requests, IsEmpty());
}

TEST_F(CtlTest, PutKeepsABackupThatRestoresTheDeviceExactly) {
  const auto original = sim.model.content().phonebook;
  write("one.csv", "name,phone_number\nONLY ONE,5550100\n");
  ASSERT_EQ(run({"phonebook", "import", file("one.csv"), "--file", file("one.pbf")}).status,
            kExitOk);
  const CtlRun put = run({"phonebook", "put", file("one.pbf"), "--backup", file("backup.pbf")});
  EXPECT_EQ(put.status, kExitOk) << put.err;
  EXPECT_EQ(put.err, "vornikctl: the device's phonebook is kept in " + file("backup.pbf") + "\n");
  EXPECT_EQ(run({"phonebook", "export", "--csv"}).out,
            "speed_dial,name,phone_number,members\r\n0,ONLY ONE,5550100,\r\n");
  ASSERT_EQ(run({"phonebook", "put", file("backup.pbf"), "--backup", file("b2.pbf")}).status,
            kExitOk);
  for (size_t i = 0; i < original.size(); ++i) {
    EXPECT_EQ(sim.model.content().phonebook[i].name, original[i].name) << i;
    EXPECT_EQ(sim.model.content().phonebook[i].dialData, original[i].dialData) << i;
    EXPECT_EQ(sim.model.content().phonebook[i].groupFlag, original[i].groupFlag) << i;
    EXPECT_EQ(sim.model.content().phonebook[i].inUseFlag, original[i].inUseFlag) << i;
  }
}

TEST_F(CtlTest, NothingIsSentWhenTheBackupCannotBeWritten) {
  write("one.csv", "name,phone_number\nONLY ONE,5550100\n");
  ASSERT_EQ(run({"phonebook", "import", file("one.csv"), "--file", file("one.pbf")}).status,
            kExitOk);
  const CtlRun put =
      run({"phonebook", "put", file("one.pbf"), "--backup", file("no-folder/backup.pbf")});
  EXPECT_EQ(put.status, kExitFileError);
  EXPECT_THAT(put.err, HasSubstr("nothing was sent"));
  EXPECT_EQ(requestsFor(kOpReadRecord, kRecordPhonebook), 1u);
  EXPECT_EQ(requestsFor(kOpWriteRecord, kRecordPhonebook), 0u);
}

// A file with a second name is rewritten in place; a save that fails after its first byte
// names the file as one that may now be damaged.
TEST_F(CtlTest, SaveThatTearsItsFileSaysTheFileMayBeDamaged) {
  struct Save {
    std::string path;
    std::vector<std::string> args;
    std::string said;
  };
  const Save saves[] = {
      {file("book.pbf"),
       {"phonebook", "get", file("book.pbf")},
       "cannot write the phonebook file " + file("book.pbf") + " (the file may now be damaged)\n"},
      {file("book.csv"),
       {"phonebook", "export", "--csv", "-o", file("book.csv")},
       "cannot write " + file("book.csv") +
           ": No space left on device (the file may now be damaged)\n"},
  };
  for (const Save& save : saves) {
    std::ofstream(save.path) << "the old content";
    std::filesystem::create_hard_link(save.path, save.path + ".2");
    fake.storage.room = SIZE_MAX;
    fake.storage.onWrite = [this](int) { fake.storage.room = 0; };
    const CtlRun saved = run(save.args);
    EXPECT_EQ(saved.status, kExitFileError);
    EXPECT_THAT(saved.err, EndsWith(save.said));
  }
}

TEST_F(CtlTest, ImportWritesNothingWhenARowIsRefusedUnlessToldToSkipIt) {
  write("mixed.csv",
        "speed_dial,name,phone_number,members\n"
        "0,GOOD,5550100,\n"
        "1,BAD,+15550100,\n"
        "2,GROUP,,0\n");
  const CtlRun refused = run({"phonebook", "import", file("mixed.csv")});
  EXPECT_EQ(refused.status, kExitBadInput);
  EXPECT_EQ(refused.err, file("mixed.csv") +
                             ":3: bad characters in the phone number \"+15550100\" (digits, #, "
                             "* and P only)\n"
                             "vornikctl: 1 row refused; nothing was written (--skip-bad writes "
                             "the rows that can be taken)\n");
  EXPECT_THAT(requests, IsEmpty());

  const CtlRun skipped =
      run({"phonebook", "import", file("mixed.csv"), "--skip-bad", "--backup", file("b.pbf")});
  EXPECT_EQ(skipped.status, kExitOk) << skipped.err;
  EXPECT_THAT(skipped.err, HasSubstr("vornikctl: 1 row refused, skipped\n"));
  EXPECT_EQ(run({"phonebook", "export", "--csv"}).out,
            "speed_dial,name,phone_number,members\r\n0,GOOD,5550100,\r\n2,GROUP,,0\r\n");
}

TEST_F(CtlTest, AnImportWithoutRowsIsRefusedUnlessAnEmptyPhonebookIsAskedFor) {
  write("header.csv", "speed_dial,name,phone_number,members\r\n");
  write("empty.vcf", "");
  for (const char* name : {"header.csv", "empty.vcf"}) {
    const CtlRun refused = run({"phonebook", "import", file(name)});
    EXPECT_EQ(refused.status, kExitBadInput) << name;
    EXPECT_EQ(refused.err, "vornikctl: " + file(name) +
                               " holds no rows; nothing was written (--allow-empty empties the "
                               "phonebook)\n");
  }
  EXPECT_THAT(requests, IsEmpty());
  const CtlRun emptied =
      run({"phonebook", "import", file("header.csv"), "--allow-empty", "--backup", file("b.pbf")});
  EXPECT_EQ(emptied.status, kExitOk) << emptied.err;
  EXPECT_EQ(run({"phonebook", "export", "--csv"}).out, "speed_dial,name,phone_number,members\r\n");
}

TEST_F(CtlTest, AnImportSaysTwentyReasonsAndHowManyMoreThereAre) {
  std::string text = "name,phone_number\n";
  for (int i = 0; i < 30; ++i)
    text += "BAD,+5550100\n";
  write("bad.csv", text);
  const CtlRun refused = run({"phonebook", "import", file("bad.csv")});
  EXPECT_EQ(refused.status, kExitBadInput);
  std::string expected;
  for (int line = 2; line < 22; ++line)
    expected += file("bad.csv") + ":" + std::to_string(line) +
                ": bad characters in the phone number \"+5550100\" (digits, #, * and P only)\n";
  EXPECT_EQ(refused.err, expected +
                             "vornikctl: 10 more reasons are not shown\n"
                             "vornikctl: 30 rows refused; nothing was written (--skip-bad writes "
                             "the rows that can be taken)\n");
}

TEST_F(CtlTest, ResultsThatCannotBeWrittenFailWithTheFileStatus) {
  const std::vector<std::string> toStdout[] = {{"info"},
                                               {"settings", "get"},
                                               {"--json", "advanced", "get"},
                                               {"phonebook", "export", "--csv"},
                                               {"--help"}};
  for (const auto& args : toStdout) {
    std::ofstream full("/dev/full");
    std::ostringstream err;
    CtlIo io{full, err, false};
    EXPECT_EQ(RunVornikctl(args, io), kExitFileError) << args.back();
    EXPECT_EQ(err.str(), "vornikctl: cannot write the results to standard output\n") << args.back();
  }
  const struct {
    std::string path;
    std::string message;
  } toFiles[] = {
      {"/dev/full", "vornikctl: cannot write /dev/full: it is not a regular file\n"},
      {file(""), "vornikctl: cannot write " + file("") + ": Is a directory\n"},
  };
  for (const auto& c : toFiles) {
    const CtlRun saved = run({"phonebook", "export", "--csv", "-o", c.path});
    EXPECT_EQ(saved.status, kExitFileError) << c.path;
    EXPECT_EQ(saved.err, c.message);
  }
}

TEST_F(CtlTest, ExportAndImportWorkOnAPhonebookFileWithoutTheDevice) {
  fake.devices.remove(PortNameTable[size_t(kPortEcp1)]);
  write("book.vcf",
        "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:a\r\nFN:Alice\r\nTEL:555-0100\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Group\r\nMEMBER:a\r\n"
        "END:VCARD\r\n");
  EXPECT_EQ(run({"phonebook", "import", file("book.vcf"), "--file", file("book.pbf")}).status,
            kExitOk);
  const CtlRun json = run({"--json", "phonebook", "export", "--file", file("book.pbf")});
  EXPECT_EQ(json.status, kExitOk) << json.err;
  const auto book = nlohmann::ordered_json::parse(json.out);
  EXPECT_EQ(book["speed-dials"], 100);
  EXPECT_EQ(book["entries"].dump(), R"([{"speed-dial":0,"name":"ALICE","phone-number":"5550100"},)"
                                    R"({"speed-dial":1,"name":"GROUP","members":[0]}])");
  EXPECT_EQ(run({"phonebook", "export", "-o", file("out.csv"), "--file", file("book.pbf")}).status,
            kExitOk);
  EXPECT_EQ(read("out.csv"),
            "speed_dial,name,phone_number,members\r\n0,ALICE,5550100,\r\n1,GROUP,,0\r\n");
  EXPECT_EQ(run({"phonebook", "export", "--file", file("book.pbf")}).status, kExitBadInput);
  EXPECT_THAT(requests, IsEmpty());
}

TEST_F(CtlTest, FirmwareSendsTheImageWithThePagesMessages) {
  write("image.bin", std::string(10000, '\x5A'));
  fake.devices.add(PortNameTable[size_t(kPortLpt1)], sim.factory());
  for (const char* port : {"lpt1", "ecp1"}) {
    const CtlRun update = run({"--port", port, "firmware", file("image.bin")});
    EXPECT_EQ(update.status, kExitOk) << port << update.err;
    EXPECT_EQ(update.err,
              "vornikctl: Writing complete. Do not turn off until your machine is initialized.\n"
              "vornikctl: Update Complete!\n");
    sim.model.settle(fake.clock.now);  // the device takes an image once it has been quiet
    EXPECT_EQ(sim.model.content().firmware.lastImageSize, 10000u) << port;
  }
  EXPECT_EQ(sim.model.content().firmware.imagesReceived, 2u);

  sim.model.setFault(devsim::Fault::kDropTransfer);
  const CtlRun dropped = run({"firmware", file("image.bin")});
  EXPECT_EQ(dropped.status, kExitNotResponding);
  EXPECT_EQ(dropped.err, "vornikctl: Failed to write data.\n");
  EXPECT_EQ(run({"firmware", file("none.bin")}).status, kExitFileError);
}

TEST_F(CtlTest, TransfersDrawAProgressBarOnlyOnATerminal) {
  const CtlRun terminal = run({"phonebook", "get", file("a.pbf")}, true);
  EXPECT_EQ(terminal.status, kExitOk);
  EXPECT_THAT(terminal.out, AllOf(StartsWith("\rphonebook [......"),
                                  EndsWith("\rphonebook [" + std::string(30, '#') + "] 100%\n")));
  const CtlRun piped = run({"phonebook", "get", file("b.pbf")}, false);
  EXPECT_THAT(piped.out, IsEmpty());
  EXPECT_EQ(read("a.pbf"), read("b.pbf"));
  EXPECT_EQ(read("a.pbf").size(), 7040u);

  // On one terminal a message ends the bar's line first; the bar goes on below it.
  std::ostringstream terminalText;
  CtlIo shared{terminalText, terminalText, true};
  ASSERT_EQ(RunVornikctl({"phonebook", "put", file("a.pbf"), "--backup", file("c.pbf")}, shared),
            kExitOk);
  EXPECT_THAT(terminalText.str(),
              HasSubstr("]  50%\nvornikctl: the device's phonebook is kept in " + file("c.pbf") +
                        "\n\rphonebook [#############################.]  99%"));

  write("image.bin", std::string(10000, '\x01'));
  const CtlRun firmware = run({"firmware", file("image.bin")}, true);
  EXPECT_THAT(firmware.out, AllOf(HasSubstr("\rfirmware [" + std::string(30, '.') + "]   0%"),
                                  HasSubstr("]  40%"), HasSubstr("]  81%"), EndsWith("] 100%\n")));
}

TEST_F(CtlTest, HelpNamesTheFieldsAndExitStatusesVersionItsNumber) {
  const CtlRun help = run({"settings", "set", "--help"});
  EXPECT_EQ(help.status, kExitOk);
  for (const char* field : {"tray-paper-size", "rings-to-answer", "print-time-out",
                            "one of off, 15-sec, 30-sec, 60-sec, 180-sec", "25 to 400"})
    EXPECT_THAT(help.out, HasSubstr(field));
  const CtlRun advancedHelp = run({"advanced", "set", "--help"});
  for (const char* field : {"machine-id", "toll-start", "one of off, 5, 10, 15, 30, 45"})
    EXPECT_THAT(advancedHelp.out, HasSubstr(field));
  EXPECT_THAT(run({"--help"}).out,
              AllOf(HasSubstr("Exit status:"), HasSubstr("phonebook"), HasSubstr("firmware")));
  const CtlRun version = run({"--version"});
  EXPECT_EQ(version.status, kExitOk);
  EXPECT_EQ(version.out, "vornikctl " VORNIK_VERSION "\n");
  EXPECT_THAT(requests, IsEmpty());
}

}  // namespace
}  // namespace vornik::ctl::test

namespace vornik::ctl::test {
namespace {

// Among USB printers that cannot be told apart, a command guesses none: it names them and
// ends with no device, having opened none of them; `ports` shows which one a command takes.
TEST_F(CtlTest, SeveralUsbPrintersAreNamedNeverGuessedAmong) {
  vornik::test::PrinterTree tree(fake.system);
  const std::string other = tree.addPrinter(0, "MFG:Acme;MDL:LaserWriter 9;");
  const std::string unknown = tree.addPrinter(1, "");

  const CtlRun refused = run({"info"});
  EXPECT_EQ(refused.status, kExitNoDevice);
  EXPECT_THAT(refused.err, HasSubstr(other + " (Acme LaserWriter 9), " + unknown +
                                     " (no device ID); name the device's with --device PATH"));
  EXPECT_THAT(requests, IsEmpty());
  for (const auto& open : fake.devices.opens)
    EXPECT_EQ(open.name.find("/usb/lp"), std::string::npos) << open.name;

  const std::string device = tree.addPrinter(2, "mfg:HELMDECK;mdl:zrv 4100;");
  const auto listed = nlohmann::json::parse(run({"--json", "ports"}).out)["ports"];
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0]["device-id"], "MFG:Acme;MDL:LaserWriter 9;");
  const bool namesDevice[] = {false, false, true};
  for (size_t n = 0; n < 3; ++n) {
    EXPECT_EQ(listed[n]["path"], tree.port(int(n)));
    EXPECT_EQ(listed[n]["kind"], "usb");
    EXPECT_EQ(listed[n]["names-device"], namesDevice[n]);
    EXPECT_EQ(listed[n]["taken"], namesDevice[n]);
  }
}

}  // namespace
}  // namespace vornik::ctl::test
