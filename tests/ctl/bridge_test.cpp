// The real vornikctl against the real vornik-devsim over its bridge socket: each command's
// output and exit status, and what the device's frame log and state file show it received.
// Each run of vornikctl gets a private /run/lock where a mount namespace can be made, so a
// panel or another test holding the port elsewhere on the machine does not make it busy.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/device_port.h"
#include "app/start_up.h"
#include "devsim/device_model.h"
#include "devsim/devsim_process.h"
#include "devsim/state_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"

namespace vornik::ctl::test {
namespace {

using vornik::test::ReadFileText;

using devsim::test::DevsimProcess;
using devsim::test::TempFolder;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using testing::StartsWith;

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool PrivateLocksPossible() {
  static const bool possible = std::system("unshare --mount true >/dev/null 2>&1") == 0;
  return possible;
}

struct CtlRun {
  int status = -1;
  std::string out;
  std::string err;
};

class BridgeTest : public testing::Test {
 protected:
  void start(std::vector<std::string> options = {}) {
    options.insert(options.end(), {"--log", log, "--state", state});
    sim = std::make_unique<DevsimProcess>(socket, options);
  }

  // The shell command that runs vornikctl with `args`; `usbPort` is the USB library's port
  // (none: unset). Every step execs the next, so the shell's process becomes vornikctl.
  std::string ctlCommand(const std::vector<std::string>& args, const std::string& usbPort = "") {
    std::string command = usbPort.empty() ? "exec env -u VORNIK_USB_PORT "
                                          : "exec env VORNIK_USB_PORT=" + Quoted(usbPort) + " ";
    if (PrivateLocksPossible())
      command +=
          "unshare --mount --propagation private sh -c "
          "'mount -t tmpfs tmpfs /run/lock 2>/dev/null; exec \"$0\" \"$@\"' ";
    command += VORNIKCTL_PROGRAM;
    for (const std::string& arg : args)
      command += " " + Quoted(arg);
    return command + " 2>" + Quoted(folder.file("stderr"));
  }

  // Runs vornikctl with `args` to its end.
  CtlRun ctl(const std::vector<std::string>& args, const std::string& usbPort = "") {
    const std::string command = ctlCommand(args, usbPort);
    const std::string errPath = folder.file("stderr");
    CtlRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    char chunk[4096];
    while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
      run.out.append(chunk, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFileText(errPath);
    return run;
  }

  // The frames the device received, as the log shows them ("1B A4 ...").
  std::vector<std::string> received() const {
    std::vector<std::string> frames;
    std::istringstream lines(ReadFileText(log));
    for (std::string line; std::getline(lines, line);) {
      const size_t at = line.find(" received ");
      if (at != std::string::npos)
        frames.push_back(line.substr(at + 10));
    }
    return frames;
  }

  devsim::DeviceContent deviceState() const {
    devsim::DeviceContent content;
    std::string error;
    EXPECT_EQ(devsim::LoadState(state, content, error), devsim::LoadResult::kLoaded) << error;
    return content;
  }

  std::string file(const std::string& name) const { return folder.file(name); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary) << text;
  }

  TempFolder folder;
  const std::string socket = folder.file("device.sock");
  const std::string log = folder.file("frames.log");
  const std::string state = folder.file("device.state");
  const std::string device = "--device=" + socket;
  std::unique_ptr<DevsimProcess> sim;
};

bool SamePhonebook(const devsim::DeviceContent& a, const devsim::DeviceContent& b) {
  for (size_t i = 0; i < a.phonebook.size(); ++i) {
    const auto &x = a.phonebook[i], &y = b.phonebook[i];
    if (x.groupFlag != y.groupFlag || x.inUseFlag != y.inUseFlag || x.name != y.name ||
        x.dialData != y.dialData)
      return false;
  }
  return true;
}

constexpr const char* kFactoryCsv =
    "speed_dial,name,phone_number,members\r\n"
    "0,FRONT DESK,5550100,\r\n"
    "1,ACCOUNTING,5550142,\r\n"
    "2,WAREHOUSE,9P5550187,\r\n"
    "3,HEAD OFFICE,0114930555012,\r\n"
    "4,SERVICE LINE,18005550199,\r\n"
    "5,J. MORALES,5550163,\r\n"
    "19,ALL BRANCHES,,0 1 2 3\r\n";

TEST_F(BridgeTest, ReadCommandsPrintWhatTheDeviceHolds) {
  start();
  const CtlRun info = ctl({device, "info"});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_THAT(info.out, StartsWith("firmware-version      2.14\nengine-version        V1.3.2\n"));
  EXPECT_THAT(info.err, IsEmpty());
  const CtlRun settings = ctl({device, "settings", "get"});
  EXPECT_EQ(settings.status, 0) << settings.err;
  EXPECT_THAT(settings.out, HasSubstr("\nzoom                  100\n"));
  const CtlRun advanced = ctl({device, "--json", "advanced", "get"});
  EXPECT_EQ(advanced.status, 0) << advanced.err;
  EXPECT_THAT(advanced.out, HasSubstr("\"machine-id\": \"VORNIK OFFICE\""));
  EXPECT_THAT(received(), ElementsAre("1B A4 00 04 50 E0 82 C0", "1B A4 00 05 50 E0 82 C1 43",
                                      "1B A4 00 04 50 E0 82 C0", "1B A4 00 05 50 E0 82 C1 41",
                                      "1B A4 00 04 50 E0 82 C0", "1B A4 00 05 50 E0 82 C1 40"));
}

TEST_F(BridgeTest, ARefusedSetSendsNothingAndASetSendsOnlyItsField) {
  start();
  const CtlRun refused = ctl({device, "settings", "set", "zoom=401"});
  EXPECT_EQ(refused.status, 6);
  EXPECT_EQ(refused.err,
            "vornikctl: zoom takes a number from 25 to 400, not \"401\"\n"
            "vornikctl: nothing was sent (see --help for the fields and values)\n");
  EXPECT_THAT(received(), IsEmpty());

  const CtlRun set = ctl({device, "settings", "set", "zoom=250"});
  EXPECT_EQ(set.status, 0) << set.err;
  EXPECT_THAT(received(), ElementsAre("1B A4 00 04 50 E0 82 C0", "1B A4 00 05 50 E0 82 C1 41",
                                      "1B A4 00 1B 50 E0 82 C2 41 00 00 00 00 00 00 0A 01 01 00 "
                                      "FA 00 01 01 01 09 02 03 03 02 01 01"));
}

TEST_F(BridgeTest, PutLeavesABackupThatRestoresTheDeviceExactly) {
  start();
  ASSERT_EQ(ctl({device, "phonebook", "get", file("before.pbf")}).status, 0);
  write("one.csv", "name,phone_number\nONLY ONE,5550100\n");
  ASSERT_EQ(ctl({"phonebook", "import", file("one.csv"), "--file", file("one.pbf")}).status, 0);

  const CtlRun put =
      ctl({device, "phonebook", "put", file("one.pbf"), "--backup", file("kept.pbf")});
  EXPECT_EQ(put.status, 0) << put.err;
  EXPECT_EQ(put.err, "vornikctl: the device's phonebook is kept in " + file("kept.pbf") + "\n");
  EXPECT_EQ(ReadFileText(file("kept.pbf")), ReadFileText(file("before.pbf")));
  EXPECT_FALSE(SamePhonebook(deviceState(), devsim::FactoryContent()));

  ASSERT_EQ(ctl({device, "phonebook", "put", file("kept.pbf"), "--backup", file("2.pbf")}).status,
            0);
  EXPECT_TRUE(SamePhonebook(deviceState(), devsim::FactoryContent()));
}

TEST_F(BridgeTest, CsvRoundTripKeepsEveryNameNumberAndGroup) {
  start();
  const CtlRun exported = ctl({device, "phonebook", "export", "--csv"});
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.out, kFactoryCsv);
  write("book.csv", exported.out);
  write("empty.csv", "speed_dial,name,phone_number,members\r\n");
  ASSERT_EQ(ctl({device, "phonebook", "import", file("empty.csv"), "--allow-empty", "--backup",
                 file("1.pbf")})
                .status,
            0);
  EXPECT_EQ(ctl({device, "phonebook", "export", "--csv"}).out,
            "speed_dial,name,phone_number,members\r\n");
  const CtlRun imported =
      ctl({device, "phonebook", "import", file("book.csv"), "--backup", file("2.pbf")});
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(ctl({device, "phonebook", "export", "--csv"}).out, kFactoryCsv);
  EXPECT_TRUE(SamePhonebook(deviceState(), devsim::FactoryContent()));
}

TEST_F(BridgeTest, VcardRoundTripKeepsEveryNameNumberAndGroup) {
  start();
  const CtlRun exported =
      ctl({device, "phonebook", "export", "-o", file("book.vcf"), "--vcard-version", "4"});
  EXPECT_EQ(exported.status, 0) << exported.err;
  const std::string cards = ReadFileText(file("book.vcf"));
  EXPECT_THAT(cards, HasSubstr("FN:J. MORALES\r\nTEL;VALUE=text:5550163\r\n"));
  EXPECT_THAT(cards, HasSubstr("KIND:group\r\n"));
  write("empty.csv", "name,phone_number\n");
  ASSERT_EQ(ctl({device, "phonebook", "import", file("empty.csv"), "--allow-empty", "--backup",
                 file("1.pbf")})
                .status,
            0);
  const CtlRun imported =
      ctl({device, "phonebook", "import", file("book.vcf"), "--backup", file("2.pbf")});
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(ctl({device, "phonebook", "export", "--csv"}).out, kFactoryCsv);
  EXPECT_TRUE(SamePhonebook(deviceState(), devsim::FactoryContent()));
}

TEST_F(BridgeTest, RefusedRowsAreNamedByLineAndNothingReachesTheDevice) {
  start();
  write("bad.csv",
        "speed_dial,name,phone_number,members\n"
        "0,GOOD,5550100,\n"
        "1,FAR TOO LONG A NAME FOR IT,5550101,\n"
        "2,NO NUMBER,,\n");
  const CtlRun imported = ctl({device, "phonebook", "import", file("bad.csv")});
  EXPECT_EQ(imported.status, 6);
  EXPECT_EQ(imported.err, file("bad.csv") + ":3: name too long: 26 characters, at most 20\n" +
                              file("bad.csv") + ":4: no phone number\n" +
                              "vornikctl: 2 rows refused; nothing was written (--skip-bad "
                              "writes the rows that can be taken)\n");
  EXPECT_THAT(received(), IsEmpty());
}

TEST_F(BridgeTest, DiscoveryFindsTheDeviceWhereTheUsbLibraryNamesIt) {
  start();
  const CtlRun get = ctl({"phonebook", "get", file("book.pbf")}, socket);
  EXPECT_EQ(get.status, 0) << get.err;
  EXPECT_EQ(ReadFileText(file("book.pbf")).size(), 7040u);
  EXPECT_THAT(received(), ElementsAre("1B A4 00 04 50 E0 82 C0", "1B A4 00 06 50 E0 82 C1 42 FF"));
}

TEST_F(BridgeTest, ADeviceThatIsSilentOrAbsentHasItsExitStatus) {
  start({"--fault", "silent"});
  const CtlRun silent = ctl({device, "info"});
  EXPECT_EQ(silent.status, 3);
  EXPECT_EQ(silent.err, "vornikctl: the device on " + socket + " does not answer\n");
  EXPECT_THAT(received(), ElementsAre("1B A4 00 04 50 E0 82 C0", "1B A4 00 04 50 E0 82 C0"));
  const CtlRun absent = ctl({"--device", file("nothing.sock"), "info"});
  EXPECT_EQ(absent.status, 4);
  EXPECT_EQ(absent.err, "vornikctl: no device found (tried " + file("nothing.sock") + ")\n");
}

// vornikctl stopped with Ctrl+C after its request went out leaves the device's answer
// unread; the next command must still read the device's own phonebook.
TEST_F(BridgeTest, CommandAfterAnInterruptedOneReadsTheDevicesEntries) {
  start();
  const std::string command = ctlCommand({device, "info"}) + " >/dev/null";
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t interrupted = -1;
  ASSERT_EQ(
      ::posix_spawn(&interrupted, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ),
      0);
  const std::string infoRequest = "1B A4 00 05 50 E0 82 C1 43";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!testing::Value(received(), testing::Contains(infoRequest)) &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ::kill(interrupted, SIGINT);  // within the second it waits before it reads
  int status = 0;
  ASSERT_EQ(::waitpid(interrupted, &status, 0), interrupted);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << "info ran to its end";
  std::this_thread::sleep_for(std::chrono::milliseconds(devsim::kRecordDelayMs));

  const CtlRun exported = ctl({device, "phonebook", "export", "--csv"});
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.out, kFactoryCsv);
}

TEST_F(BridgeTest, FirmwareSendsTheImageAndWaitsForTheDeviceToWriteIt) {
  start();
  write("image.bin", std::string(5000, '\x11'));
  const CtlRun update = ctl({device, "firmware", file("image.bin")});
  EXPECT_EQ(update.status, 0) << update.err;
  EXPECT_THAT(update.out, IsEmpty());  // no bar: the output is not a terminal
  EXPECT_EQ(update.err,
            "vornikctl: Writing complete. Do not turn off until your machine is initialized.\n"
            "vornikctl: Update Complete!\n");
  EXPECT_THAT(ReadFileText(log), HasSubstr("image complete: 5000 bytes, checksum 85000"));
}

}  // namespace
}  // namespace vornik::ctl::test

namespace vornik::ctl::test {
namespace {

// The port lock is the device's own: while another program holds the first simulated
// device, vornikctl reads a second one, and the first stays refused until it is let go.
TEST_F(BridgeTest, ASecondDeviceIsReadWhileAnotherProgramHoldsTheFirst) {
  start();
  const std::string secondSocket = file("second.sock");
  DevsimProcess second(secondSocket);
  void* grenlo = ::dlopen(GRENLO_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(grenlo, nullptr);
  auto acquire = reinterpret_cast<int (*)(int)>(::dlsym(grenlo, "PortAcquire"));
  auto release = reinterpret_cast<int (*)(int)>(::dlsym(grenlo, "PortRelease"));
  {
    vornik::test::ScopedEnv held("VORNIK_USB_PORT", socket.c_str());
    ASSERT_NE(acquire(kDevicePortCode), 0);
  }

  const CtlRun other = ctl({"--device=" + secondSocket, "info"});
  EXPECT_EQ(other.status, 0) << other.err;
  EXPECT_THAT(other.out, StartsWith("firmware-version      2.14\n"));
  const CtlRun busy = ctl({device, "info"});
  EXPECT_EQ(busy.status, kExitPortBusy) << busy.err;
  EXPECT_THAT(received(), IsEmpty());

  EXPECT_NE(release(kDevicePortCode), 0);
  ::dlclose(grenlo);
  EXPECT_EQ(ctl({device, "info"}).status, 0);
}

}  // namespace
}  // namespace vornik::ctl::test
