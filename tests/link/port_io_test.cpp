#include <gmock/gmock.h>

#include <chrono>
#include <functional>
#include <thread>

#include "link/port_io.h"
#include "link/spin_delay.h"
#include "link_fixture.h"

namespace vornik::test {
namespace {

using testing::ElementsAre;

// The USB library's entry points, scripted per test.
std::vector<uint32_t> usbCalls;
std::vector<uint32_t> usbResults;  // consumed front to back; empty: the full length

uint32_t NextResult(uint32_t length) {
  usbCalls.push_back(length);
  if (usbResults.empty())
    return length;
  const uint32_t result = usbResults.front();
  usbResults.erase(usbResults.begin());
  return result;
}
uint32_t FakeUsbWrite(const uint8_t*, uint32_t length) {
  return NextResult(length);
}
uint32_t FakeUsbRead(uint8_t* buffer, uint32_t length) {
  const uint32_t result = NextResult(length);
  std::memset(buffer, 0xAB, std::min(result, length));
  return result;
}

// A USB library whose every call blocks for a while, and the runs of the wait hook.
constexpr auto kSlowCall = std::chrono::milliseconds(200);
int hookRuns = 0;

void CountHookRun() {
  ++hookRuns;
}
uint32_t SlowUsbWrite(const uint8_t*, uint32_t length) {
  std::this_thread::sleep_for(kSlowCall);
  return length;
}
uint32_t SlowUsbRead(uint8_t*, uint32_t length) {
  std::this_thread::sleep_for(kSlowCall);
  return length;
}

class UsbTest : public LinkTest {
 protected:
  UsbTest() {
    usbCalls.clear();
    usbResults.clear();
    Connection.PortKind = kPortUsb;
    Connection.osFlavour = OsFlavour::Nt5;
    Connection.Win2kUsbWrite = FakeUsbWrite;
    Connection.Win2kUsbRead = FakeUsbRead;
    std::strcpy(Connection.UsbWritePath, "usb-control");
    std::strcpy(Connection.UsbReadPath, "usb-control");
    fake.devices.add("usb-control", device.factory());
  }
  std::vector<uint8_t> block = std::vector<uint8_t>(5000, 0x11);
};

// The library's transfers cannot run the wait hook themselves: the program runs it while it
// waits for them, and takes their results as before.
TEST_F(UsbTest, LibraryTransfersRunTheWaitHookWhileTheyBlock) {
  platform::Services().waitHook = CountHookRun;
  Connection.Win2kUsbWrite = SlowUsbWrite;
  Connection.Win2kUsbRead = SlowUsbRead;
  uint8_t buffer[10];
  const struct {
    const char* name;
    std::function<size_t()> transfer;
    size_t expected;
    int calls;
  } rows[] = {
      {"read", [&] { return PortRead(buffer, sizeof buffer); }, sizeof buffer, 1},
      {"chunked write", [&] { return PortWrite(block.data(), 3073); }, 3073, 2},
  };
  // Each call's last slice may end with the call, before the hook is due.
  const int runsPerCall = int(kSlowCall.count() / platform::kWaitSliceMs) - 1;
  for (const auto& row : rows) {
    hookRuns = 0;
    EXPECT_EQ(row.transfer(), row.expected) << row.name;
    EXPECT_GE(hookRuns, row.calls * runsPerCall) << row.name;
  }
}

TEST_F(UsbTest, WriteUpTo3072BytesGoesThroughTheControlPortInOneCall) {
  EXPECT_EQ(PortWrite(block.data(), 3072), 3072u);
  EXPECT_TRUE(usbCalls.empty());
  ASSERT_EQ(device.writes.size(), 1u);
  EXPECT_EQ(device.writes[0].size(), 3072u);
}

TEST_F(UsbTest, LongerWriteIsChunkedThroughTheLibraryAndStopsAtAZeroChunk) {
  EXPECT_EQ(PortWrite(block.data(), 3073), 3073u);
  EXPECT_THAT(usbCalls, ElementsAre(3072u, 1u));
  EXPECT_THAT(traces(), ElementsAre("Win2kUsbWrite(?) = 3072", "Win2kUsbWrite(?) = 1"));
  EXPECT_TRUE(device.writes.empty());

  // A short chunk advances the position; a chunk that writes nothing ends the write.
  usbCalls.clear();
  usbResults = {1000, 0};
  EXPECT_EQ(PortWrite(block.data(), 5000), 1000u);
  EXPECT_THAT(usbCalls, ElementsAre(3072u, 3072u));
}

TEST_F(UsbTest, LongReadIsChunkedAndAShortChunkReturnsItsOwnCount) {
  std::vector<uint8_t> buffer(2049);
  EXPECT_EQ(PortRead(buffer.data(), 2049), 2049u);
  EXPECT_THAT(usbCalls, ElementsAre(2048u, 1u));
  EXPECT_THAT(traces(), ElementsAre("Read(x) = 2048", "Read(x) = 1"));

  usbCalls.clear();
  usbResults = {2000};
  EXPECT_EQ(PortRead(buffer.data(), 2049), 2000u);
  EXPECT_THAT(usbCalls, ElementsAre(2048u));

  // A short second chunk reports only that chunk, not the running total.
  usbCalls.clear();
  usbResults = {2048, 7};
  std::vector<uint8_t> bigger(5000);
  EXPECT_EQ(PortRead(bigger.data(), 5000), 7u);
}

TEST_F(UsbTest, ShortReadGoesStraightToTheLibrary) {
  std::vector<uint8_t> buffer(10);
  usbResults = {5};
  EXPECT_EQ(PortRead(buffer.data(), 10), 5u);
  EXPECT_THAT(usbCalls, ElementsAre(10u));
  EXPECT_TRUE(traces().empty());
}

TEST_F(UsbTest, Win98WritesToPipe00AndReadsFromPipe01) {
  Connection.osFlavour = OsFlavour::Win98;
  std::strcpy(Connection.UsbWritePath, "\\\\.\\usbctl\\PIPE00");
  std::strcpy(Connection.UsbReadPath, "\\\\.\\usbctl\\PIPE01");
  platform::ScriptedDevice pipeIn;
  fake.devices.add(Connection.UsbWritePath, device.factory());
  fake.devices.add(Connection.UsbReadPath, pipeIn.factory());
  pipeIn.answers.push_back(Bytes({1, 2, 3}));

  EXPECT_EQ(PortWrite(block.data(), 4000), 4000u);  // no chunking on this flavour
  std::vector<uint8_t> buffer(3000);
  EXPECT_EQ(PortRead(buffer.data(), 3000), 3u);
  EXPECT_TRUE(usbCalls.empty());
  ASSERT_EQ(fake.devices.opens.size(), 2u);
  EXPECT_EQ(fake.devices.opens[0].name, "\\\\.\\usbctl\\PIPE00");
  EXPECT_EQ(fake.devices.opens[0].access, unsigned(platform::kAccessWrite));
  EXPECT_EQ(fake.devices.opens[1].name, "\\\\.\\usbctl\\PIPE01");
  EXPECT_EQ(fake.devices.opens[1].access, unsigned(platform::kAccessRead));
}

TEST_F(UsbTest, UnopenableReadPipeTracesAndReturnsZero) {
  Connection.osFlavour = OsFlavour::Win98;
  std::strcpy(Connection.UsbReadPath, "absent\\PIPE01");
  std::vector<uint8_t> buffer(10);
  EXPECT_EQ(PortRead(buffer.data(), 10), 0u);
  EXPECT_THAT(traces(), ElementsAre(" USB Port open error - for Reading "));
}

TEST_F(LinkTest, BusyParallelPortFailsBothWaysWithTheirTraces) {
  usePort(kPortLpt1);
  device.refuseOpen = true;
  const auto request = Bytes({1, 2, 3});
  std::vector<uint8_t> buffer(10);
  EXPECT_EQ(PortWrite(request.data(), request.size()), 0u);
  EXPECT_EQ(PortRead(buffer.data(), buffer.size()), 0u);
  EXPECT_THAT(traces(),
              ElementsAre("Can not open the port: LPT1 \n", "\n Can not open the port: LPT1 \n\r"));

  // The read trace names LPT1 whatever the port; the write trace names the real one.
  fake.debug.lines.clear();
  Connection.PortKind = 2;
  EXPECT_EQ(PortWrite(request.data(), request.size()), 0u);
  EXPECT_EQ(PortRead(buffer.data(), buffer.size()), 0u);
  EXPECT_THAT(traces(),
              ElementsAre("Can not open the port: LPT2 \n", "\n Can not open the port: LPT1 \n\r"));
}

TEST_F(LinkTest, ParallelPortGetsItsTimeoutsBeforeEveryTransfer) {
  usePort(kPortLpt1);
  device.answers.push_back(Bytes({0x1B, 0xA4}));
  const auto request = Bytes({9, 9});
  std::vector<uint8_t> buffer(10);
  EXPECT_EQ(PortWrite(request.data(), request.size()), 2u);
  EXPECT_EQ(PortRead(buffer.data(), buffer.size()), 2u);
  ASSERT_EQ(device.timeoutsSet.size(), 2u);
  for (const auto& t : device.timeoutsSet) {
    EXPECT_EQ(t.readInterval, 200u);
    EXPECT_EQ(t.readTotalConstant, 3000u);
    EXPECT_EQ(t.writeTotalConstant, 5000u);
  }
  EXPECT_EQ(fake.devices.opens[0].share, unsigned(platform::kShareNone));
  EXPECT_EQ(fake.devices.opens[1].access, unsigned(platform::kAccessRead | platform::kAccessWrite));
  EXPECT_TRUE(device.controls.empty());
}

TEST_F(LinkTest, ParallelPortWithoutTimeoutsTransfersNothing) {
  usePort(kPortLpt1);
  device.failGetTimeouts = true;
  device.answers.push_back(Bytes({0x1B, 0xA4}));
  const auto request = Bytes({9, 9});
  std::vector<uint8_t> buffer(10);
  EXPECT_EQ(PortWrite(request.data(), request.size()), 0u);
  EXPECT_EQ(PortRead(buffer.data(), buffer.size()), 0u);
  EXPECT_TRUE(device.writes.empty());
  EXPECT_THAT(device.calls, ElementsAre());
  EXPECT_THAT(traces(), ElementsAre("\n ERROR: Failed to set Comm State\n\r"));
}

TEST_F(LinkTest, EcpReadsSetTheModeFirstAndWritesDoNot) {
  usePort(kPortEcp1);
  device.answers.push_back(Bytes({0x1B, 0xA4, 0, 6, 0x50}));
  const auto request = Bytes({1, 2, 3});
  std::vector<uint8_t> buffer(10);
  EXPECT_EQ(PortWrite(request.data(), request.size()), 3u);
  EXPECT_EQ(PortRead(buffer.data(), buffer.size()), 5u);
  EXPECT_THAT(device.calls, ElementsAre("W", "C", "C", "R"));
  ASSERT_EQ(device.controls.size(), 2u);
  EXPECT_EQ(device.controls[0].code, 0x182014u);
  EXPECT_THAT(device.controls[0].input, ElementsAre(0x00));
  EXPECT_EQ(device.controls[1].code, 0x182004u);
  EXPECT_THAT(device.controls[1].input, ElementsAre(0x00));
  EXPECT_TRUE(device.timeoutsSet.empty());
  EXPECT_TRUE(traces().empty());
}

TEST_F(LinkTest, EcpModeFailuresAreTracedAndTheReadGoesOn) {
  usePort(kPortEcp1);
  device.failControls = true;
  device.answers.push_back(Bytes({7, 7, 7}));
  std::vector<uint8_t> buffer(10);
  EXPECT_EQ(PortRead(buffer.data(), buffer.size()), 3u);
  EXPECT_THAT(traces(),
              ElementsAre("[Error: Device can't be set to the H/W mode(Method) you want.]",
                          "[Error: Mode has not been changed.]"));
}

TEST_F(LinkTest, ShortWriteReportsTheCountAccepted) {
  usePort(kPortEcp1);
  device.writeLimit = 4;
  std::vector<uint8_t> request(31, 0xFF);
  EXPECT_EQ(PortWrite(request.data(), request.size()), 4u);
}

TEST_F(LinkTest, SpinDelayWaitsAtLeastTheTimeAskedAcrossACounterWrap) {
  fake.clock.step = 7;
  EXPECT_GE(SpinDelay(1000), 1000u);
  fake.clock.now = 0xFFFFFF00u;
  const uint32_t start = fake.clock.now;
  EXPECT_GE(SpinDelay(1000), 1000u);
  EXPECT_GE(fake.clock.now - start, 1000u);
}

TEST_F(LinkTest, SpinDelayUntilEndsAtOnceWhenTheTargetWraps) {
  SpinDelayUntil(500);
  EXPECT_GE(fake.clock.now, 500u);
  fake.clock.now = 0xFFFFFF00u;
  SpinDelayUntil(500);
  EXPECT_LT(fake.clock.now - 0xFFFFFF00u, 5u);
}

}  // namespace
}  // namespace vornik::test
