#include <gmock/gmock.h>

#include <cstring>
#include <fstream>

#include "app/port_discovery.h"
#include "app/start_up.h"
#include "devsim/simulated_device.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "phonebook/phonebook_store.h"
#include "platform/fake_platform.h"
#include "tests/support/printer_tree.h"

namespace vornik {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

// The arbitration library's exports, scripted.
int acquireResult = 1;
std::vector<std::string> arbitrationCalls;
std::string lockedPort;  // the port named to the driver stand-ins when the lock was taken
int FakePortAcquire(int code) {
  arbitrationCalls.push_back("acquire " + std::to_string(code));
  const char* named = std::getenv("VORNIK_USB_PORT");
  lockedPort = named ? named : "";
  return acquireResult;
}
int FakePortRelease(int code) {
  arbitrationCalls.push_back("release " + std::to_string(code));
  return 1;
}

// The USB library's exports: a control port name and a device that answers reads with
// `usbAnswer` (nothing when empty).
const char* controlPortName = "usb-ctl";
int nameQueries = 0;
std::vector<uint8_t> usbAnswer;
int usbReads = 0;
void FakeGetControlPortName(char* buffer, uint32_t size) {
  ++nameQueries;
  std::strncpy(buffer, controlPortName, size - 1);
}
// The USB stand-in's rule: the port the program named.
void NamedControlPortName(char* buffer, uint32_t size) {
  const char* named = std::getenv("VORNIK_USB_PORT");
  std::strncpy(buffer, named ? named : "", size - 1);
}
uint32_t FakeUsbWrite(const uint8_t*, uint32_t length) {
  return length;
}
uint32_t FakeUsbRead(uint8_t* buffer, uint32_t length) {
  ++usbReads;
  const uint32_t n = std::min<uint32_t>(length, uint32_t(usbAnswer.size()));
  if (n > 0)
    std::memcpy(buffer, usbAnswer.data(), n);
  return n;
}

const std::vector<uint8_t> kGoodAnswer = {0x1B, 0xA4, 0x00, 0x06, 0x50,
                                          0xE0, 0x82, 0xC0, 0x00, 0x02};

class RecordingWindows : public StartUpWindows {
 public:
  bool raiseRunningCopy() override {
    calls.push_back("raise");
    return runningCopy;
  }
  void showPortBusy() override { calls.push_back("busy"); }
  Choice askNotResponding(const std::string& deniedPort) override {
    calls.push_back("not responding on " + std::to_string(Connection.PortKind) +
                    (deniedPort.empty() ? "" : ", denied " + deniedPort));
    Choice choice = choices.empty() ? Choice::kAbort : choices.front();
    if (!choices.empty())
      choices.erase(choices.begin());
    if (beforeChoice)
      beforeChoice();
    return choice;
  }
  std::optional<size_t> askUsbPort(const std::vector<PortCandidate>& ports) override {
    std::string asked = "ask";
    for (const PortCandidate& port : ports)
      asked += " " + port.path.substr(port.path.rfind('/') + 1);
    calls.push_back(asked);
    return portAnswer;
  }
  void beginWaitCursor() override { ++waitCursors; }
  void endWaitCursor() override { --waitCursors; }
  void chooseLanguageFile() override { calls.push_back("language"); }
  void runMainWindow() override {
    calls.push_back("main window, model " + std::to_string(MachineState.ModelCode) + ", port " +
                    std::to_string(Connection.PortKind));
  }

  bool runningCopy = false;
  std::vector<Choice> choices;
  std::optional<size_t> portAnswer;
  std::function<void()> beforeChoice;
  std::vector<std::string> calls;
  int waitCursors = 0;
};

class StartUpTest : public testing::Test {
 protected:
  StartUpTest() {
    Connection = ConnectionState{};
    UnloadUsbLibrary();
    acquireResult = 1;
    arbitrationCalls.clear();
    controlPortName = "usb-ctl";
    nameQueries = 0;
    usbAnswer.clear();
    usbReads = 0;
    fake.libraries.add("grenlo.dll", {{"PortAcquire", (void*)FakePortAcquire},
                                      {"PortRelease", (void*)FakePortRelease}});
    fake.libraries.add("tarquil.dll", usbExports());
    fake.devices.add("usb-ctl", usbControl.factory());
  }
  ~StartUpTest() override {
    RunCleanUp();
    UnloadUsbLibrary();
  }

  static std::map<std::string, void*> usbExports() {
    return {{"GetControlPortName", (void*)FakeGetControlPortName},
            {"Win2kUsbWrite", (void*)FakeUsbWrite},
            {"Win2kUsbRead", (void*)FakeUsbRead}};
  }

  std::vector<std::string> traces() const {
    std::vector<std::string> all;
    for (const auto& line : fake.debug.lines)
      if (line.find("0x") == std::string::npos && line.find("0000") == std::string::npos)
        all.push_back(line);
    return all;
  }
  int inquiriesOn(const std::string& name) const {
    int n = 0;
    for (const auto& open : fake.devices.opens)
      n += open.name == name;
    return n;
  }

  platform::FakePlatform fake;
  platform::ScriptedDevice usbControl;
  platform::ScriptedDevice ecp;
  RecordingWindows windows;
};

TEST_F(StartUpTest, DeviceOnUsbOpensTheMainWindow) {
  usbAnswer = kGoodAnswer;
  EXPECT_EQ(RunStartUp(windows), StartUpOutcome::kRan);
  EXPECT_THAT(windows.calls, ElementsAre("raise", "language", "main window, model 2, port 0"));
  EXPECT_EQ(windows.waitCursors, 0);
  EXPECT_EQ(usbReads, 1);
  EXPECT_STREQ(Connection.UsbWritePath, "usb-ctl");
  EXPECT_STREQ(Connection.UsbReadPath, "usb-ctl");
  EXPECT_THAT(fake.libraries.loads, ElementsAre("grenlo.dll", "tarquil.dll"));
  EXPECT_THAT(arbitrationCalls, ElementsAre("acquire 8"));
  EXPECT_EQ(traces()[0], "K7 RCP: Port Acquire - SUCCESS\r");
  EXPECT_EQ(traces()[1], " Port = USB, Win98 = 0\r");
  EXPECT_EQ(MachineState.SpeedDialCount, 100);
  EXPECT_EQ(PhonebookStore.entries.size() * sizeof(PhonebookEntry), 7000u);
  EXPECT_EQ(PhonebookStore.ReferenceCounts.size(), 100u);
  RunCleanUp();
  EXPECT_TRUE(PhonebookStore.entries.empty());
}

TEST_F(StartUpTest, SecondCopyOnlyRaisesTheFirst) {
  windows.runningCopy = true;
  RunStartUp(windows);
  EXPECT_THAT(windows.calls, ElementsAre("raise"));
  EXPECT_TRUE(fake.libraries.loads.empty());
  EXPECT_TRUE(fake.devices.opens.empty());
}

TEST_F(StartUpTest, WithoutArbitrationLibraryThePanelRunsUnarbitrated) {
  fake.libraries = platform::FakeLibraries();
  fake.libraries.add("tarquil.dll", usbExports());
  usbAnswer = kGoodAnswer;
  RunStartUp(windows);
  EXPECT_THAT(windows.calls.back(), HasSubstr("main window"));
  EXPECT_THAT(traces()[0], " Port = USB, Win98 = 0\r");
}

TEST_F(StartUpTest, RefusedPortShowsOnlyPortIsBusyAndIsReleasedAtCleanUp) {
  acquireResult = 0;
  RunStartUp(windows);
  EXPECT_THAT(windows.calls, ElementsAre("raise", "language", "busy"));
  EXPECT_THAT(traces(), ElementsAre("RCP: Port Acquire - FAILED\r"));
  EXPECT_TRUE(fake.devices.opens.empty());
  RunCleanUp();
  EXPECT_THAT(arbitrationCalls, ElementsAre("acquire 8", "release 8"));
  EXPECT_EQ(fake.libraries.unloads, 1);
}

TEST_F(StartUpTest, ArbitrationLibraryWithoutAcquireRefuses) {
  fake.libraries.add("grenlo.dll", {{"PortRelease", (void*)FakePortRelease}});
  RunStartUp(windows);
  EXPECT_THAT(windows.calls, ElementsAre("raise", "language", "busy"));
  EXPECT_THAT(traces(), ElementsAre("RCP: Port Acquire - FAILED\r"));
  EXPECT_EQ(fake.libraries.unloads, 1);
}

TEST_F(StartUpTest, SilentUsbFallsBackToTheEcpPortBeforeAskingTheUser) {
  // USB opens but answers nothing; the ECP device does not exist.
  RunStartUp(windows);
  EXPECT_EQ(usbReads, 2);
  EXPECT_EQ(inquiriesOn("\\\\.\\HarnEcp1"), 2);  // one open per inquiry: the write fails
  EXPECT_THAT(windows.calls, ElementsAre("raise", "language", "not responding on 4"));
  EXPECT_EQ(windows.waitCursors, 0);
}

TEST_F(StartUpTest, RetryRunsDiscoveryAgainAndMaySelectUsbAnew) {
  windows.choices = {StartUpWindows::Choice::kRetry};
  windows.beforeChoice = [] { usbAnswer = kGoodAnswer; };
  RunStartUp(windows);
  EXPECT_EQ(nameQueries, 2);
  EXPECT_THAT(fake.libraries.loads, ElementsAre("grenlo.dll", "tarquil.dll"));  // kept loaded
  EXPECT_THAT(windows.calls, ElementsAre("raise", "language", "not responding on 4",
                                         "main window, model 2, port 0"));
}

TEST_F(StartUpTest, IgnoreOpensTheWindowWithTheModelCodeTheLastInquiryLeft) {
  // The ECP port is reached but answers with the wrong class: model code 0.
  fake.devices.add("\\\\.\\HarnEcp1", ecp.factory());
  for (int i = 0; i < 2; ++i)
    ecp.answers.push_back({0x1B, 0xA5, 0, 6, 0x50, 0, 0, 0, 0, 2});
  windows.choices = {StartUpWindows::Choice::kIgnore};
  RunStartUp(windows);
  EXPECT_EQ(windows.calls.back(), "main window, model 0, port 4");
}

TEST_F(StartUpTest, IgnoreAfterUnwritableRequestsKeepsTheDefaultModelCode) {
  fake.devices.remove("usb-ctl");  // the probe fails: straight to the ECP port, which is absent
  windows.choices = {StartUpWindows::Choice::kIgnore};
  RunStartUp(windows);
  EXPECT_EQ(usbReads, 0);
  EXPECT_EQ(windows.calls.back(), "main window, model 2, port 4");
  EXPECT_EQ(traces()[1], " Port = \\\\.\\HarnEcp1, Win98 = 0\r");
}

TEST_F(StartUpTest, Win98ReadsAndWritesThroughThePipesOfTheControlPort) {
  fake.system.version = {true, 1, 4};
  fake.libraries.add("fendrel.dll", {{"GetControlPortName", (void*)FakeGetControlPortName}});
  fake.devices.add("usb-ctl\\PIPE00", usbControl.factory());
  platform::ScriptedDevice pipeIn;
  pipeIn.answers.push_back(kGoodAnswer);
  fake.devices.add("usb-ctl\\PIPE01", pipeIn.factory());
  RunStartUp(windows);
  EXPECT_STREQ(Connection.UsbWritePath, "usb-ctl\\PIPE00");
  EXPECT_STREQ(Connection.UsbReadPath, "usb-ctl\\PIPE01");
  EXPECT_EQ(traces()[1], " USB Control Port = usb-ctl\r");
  EXPECT_EQ(traces()[2], " Port = USB, Win98 = 1\r");
  EXPECT_EQ(windows.calls.back(), "main window, model 2, port 0");
}

TEST_F(StartUpTest, Win98WithoutUsbFallsBackToLpt1) {
  fake.system.version = {true, 1, 4};
  platform::ScriptedDevice lpt;
  for (int i = 0; i < 2; ++i)
    lpt.answers.push_back({});
  fake.devices.add("LPT1", lpt.factory());
  RunStartUp(windows);
  EXPECT_EQ(windows.calls.back(), "not responding on 1");
  EXPECT_EQ(lpt.writes.size(), 2u);
}

// Every way start-up ends has its exit status: only a panel that ran, or a second start
// that raised the first, ends with 0.
TEST_F(StartUpTest, EveryFailedStartUpEndsWithAStatusOfItsOwn) {
  struct Case {
    const char* name;
    std::function<void(RecordingWindows&)> arrange;
    StartUpOutcome outcome;
    int status;
  };
  const Case cases[] = {
      {"device answers", [](RecordingWindows&) { usbAnswer = kGoodAnswer; }, StartUpOutcome::kRan,
       0},
      {"running copy", [](RecordingWindows& w) { w.runningCopy = true; },
       StartUpOutcome::kRaisedRunningCopy, 0},
      {"port busy", [](RecordingWindows&) { acquireResult = 0; }, StartUpOutcome::kPortBusy,
       kExitPortBusy},
      {"abort", [](RecordingWindows&) {}, StartUpOutcome::kAborted, kExitNotResponding},
      {"ignore", [](RecordingWindows& w) { w.choices = {StartUpWindows::Choice::kIgnore}; },
       StartUpOutcome::kRan, 0},
  };
  for (const Case& c : cases) {
    windows = RecordingWindows();
    usbAnswer.clear();
    acquireResult = 1;
    c.arrange(windows);
    const StartUpOutcome outcome = RunStartUp(windows);
    EXPECT_EQ(outcome, c.outcome) << c.name;
    EXPECT_EQ(ExitStatus(outcome), c.status) << c.name;
    RunCleanUp();
  }
}

// A port that is there but refuses this user is named in the box, whichever port it is.
TEST_F(StartUpTest, PortThatRefusesThisUserIsNamedInTheBox) {
  fake.devices.remove("usb-ctl");
  fake.devices.denied = {"usb-ctl"};
  RunStartUp(windows);
  EXPECT_EQ(windows.calls.back(), "not responding on 4, denied usb-ctl");

  windows = RecordingWindows();
  fake.devices.denied = {"\\\\.\\HarnEcp1"};
  RunStartUp(windows);
  EXPECT_EQ(windows.calls.back(), "not responding on 4, denied /dev/parport0");
}

// Among several USB printers the device's port is the one its ID names, else the one the
// user chooses (asked once, then remembered), and no other printer's port is ever opened.
TEST_F(StartUpTest, DevicesUsbPortIsChosenAndNoOtherPrinterIsOpened) {
  const std::string device = "MFG:Helmdeck;CMD:ZRV;MDL:ZRV 4100;CLS:PRINTER;";
  const std::string other = "MFG:Acme;MDL:LaserWriter 9;CLS:PRINTER;";
  constexpr int kGone = 5;
  struct Case {
    const char* name;
    std::vector<std::string> ids;  // of lp0, lp1, ...; empty: the port shows none
    int remembered;                // the port chosen before; -1 none
    std::optional<size_t> answer;  // to the question
    const char* asked;             // the question's ports; null: not asked
    int used;                      // the port written to; -1 none (the parallel port instead)
    int rememberedAfter;
  };
  const Case cases[] = {
      {"found by its ID", {other, device}, -1, {}, nullptr, 1, -1},
      {"unidentified: asked, remembered", {"", ""}, -1, 1, "ask lp0 lp1", 1, 1},
      {"the earlier choice", {"", ""}, 0, {}, nullptr, 0, 0},
      {"the earlier choice gone", {"", ""}, kGone, 0, "ask lp0 lp1", 0, 0},
      {"declined", {"", other}, -1, {}, "ask lp0 lp1", -1, -1},
      {"two name it: asked among them", {device, other, device}, -1, 1, "ask lp0 lp2", 2, 2},
      {"a lone printer of another make", {other}, -1, {}, nullptr, -1, -1},
      {"a lone port without ID, as ever", {""}, -1, {}, nullptr, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::PrinterTree tree(fake.system);
    fake.libraries.add("tarquil.dll", {{"GetControlPortName", (void*)NamedControlPortName},
                                       {"Win2kUsbWrite", (void*)FakeUsbWrite},
                                       {"Win2kUsbRead", (void*)FakeUsbRead}});
    for (size_t n = 0; n < c.ids.size(); ++n)
      fake.devices.add(tree.addPrinter(int(n), c.ids[n]), usbControl.factory());
    if (c.remembered >= 0)
      tree.remember(tree.port(c.remembered));
    usbAnswer = kGoodAnswer;
    windows = RecordingWindows();
    windows.portAnswer = c.answer;
    fake.devices.opens.clear();

    RunStartUp(windows);
    EXPECT_EQ(std::count(windows.calls.begin(), windows.calls.end(), c.asked ? c.asked : ""),
              c.asked ? 1 : 0);
    const std::string used = c.used >= 0 ? tree.port(c.used) : "";
    EXPECT_EQ(lockedPort, used);
    for (const auto& open : fake.devices.opens)
      EXPECT_TRUE(open.name == used || open.name.find("/usb/lp") == std::string::npos) << open.name;
    EXPECT_EQ(Connection.PortKind, c.used >= 0 ? kPortUsb : kPortEcp1);
    std::string remembered;
    std::getline(std::ifstream(tree.rememberedFile()), remembered);
    EXPECT_EQ(remembered, c.rememberedAfter >= 0 ? tree.port(c.rememberedAfter)
                          : c.remembered >= 0    ? tree.port(c.remembered)
                                                 : "");
    RunCleanUp();
    UnloadUsbLibrary();
    Connection = ConnectionState{};
  }
}

// The older flavour reaches the simulated device through the two pipes of its control port.
class SimulatorStartUpTest : public StartUpTest {
 protected:
  SimulatorStartUpTest() {
    fake.system.version = {true, 1, 4};
    fake.libraries.add("fendrel.dll", {{"GetControlPortName", (void*)FakeGetControlPortName}});
    fake.devices.add("usb-ctl\\PIPE00", sim.factory());
    fake.devices.add("usb-ctl\\PIPE01", sim.factory());
  }
  int inquiriesSeen() const {
    int n = 0;
    for (const auto& open : fake.devices.opens)
      n += open.name == "usb-ctl\\PIPE00";
    return n - 1;  // the discovery's probe opens the write pipe once
  }
  devsim::SimulatedDevice sim;
};

TEST_F(SimulatorStartUpTest, DeviceOnUsbOpensTheFullWindow) {
  RunStartUp(windows);
  EXPECT_EQ(inquiriesSeen(), 1);
  EXPECT_EQ(windows.calls.back(), "main window, model 2, port 0");
}

TEST_F(SimulatorStartUpTest, SilentDeviceIsAskedTwicePerPortThenTheUserIsAsked) {
  sim.model.setFault(devsim::Fault::kSilent);
  fake.devices.add("LPT1", sim.factory());
  RunStartUp(windows);
  EXPECT_EQ(inquiriesSeen(), 2);
  int onLpt1 = 0;
  for (const auto& open : fake.devices.opens)
    onLpt1 += open.name == "LPT1";
  EXPECT_EQ(onLpt1, 4);  // two inquiries, each a write and a read
  EXPECT_THAT(windows.calls, ElementsAre("raise", "language", "not responding on 1"));
}

TEST_F(SimulatorStartUpTest, OtherModelOpensTheSmallWindow) {
  sim.model.setFault(devsim::Fault::kWrongModel);
  RunStartUp(windows);
  EXPECT_EQ(windows.calls.back(), "main window, model 3, port 0");
}

TEST_F(StartUpTest, OsFlavourFollowsTheVersionQuery) {
  fake.system.version = {true, 1, 4};
  EXPECT_EQ(QueryOsFlavour(), OsFlavour::Win98);
  fake.system.version = {true, 2, 5};
  EXPECT_EQ(QueryOsFlavour(), OsFlavour::Nt5);
  fake.system.version = {true, 2, 4};
  EXPECT_EQ(QueryOsFlavour(), OsFlavour::OtherOs);
  fake.system.version = {true, 3, 10};
  EXPECT_EQ(QueryOsFlavour(), OsFlavour::OtherOs);
  fake.system.version = {false, 2, 5};
  EXPECT_EQ(QueryOsFlavour(), OsFlavour::OtherOs);
}

TEST_F(StartUpTest, UsbLibraryWithoutItsTransferEntriesIsNotUsed) {
  fake.libraries.add("tarquil.dll", {{"GetControlPortName", (void*)FakeGetControlPortName}});
  Connection.osFlavour = OsFlavour::Nt5;
  DiscoverPort();
  EXPECT_EQ(Connection.PortKind, 4);
  EXPECT_EQ(nameQueries, 0);
}

}  // namespace
}  // namespace vornik
