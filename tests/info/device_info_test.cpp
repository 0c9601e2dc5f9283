#include <gmock/gmock.h>

#include <cstring>

#include "info/device_info.h"
#include "link/machine_state.h"
#include "sim_fixture.h"

namespace vornik::test {
namespace {

using devsim::test::Bytes;
using testing::ElementsAre;
using testing::HasSubstr;

class DeviceInfoTest : public devsim::test::SimTest {
 protected:
  DeviceInfoTest() { usePort(kPortLpt1); }

  // Puts `bytes` into the device's information payload at `offset`.
  void put(size_t offset, const std::vector<uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), sim.model.content().deviceInfo.begin() + offset);
  }

  const DeviceInfoRecord& info() { return MachineState.DeviceInfo; }
};

TEST_F(DeviceInfoTest, AnswerGivesCountersHighByteFirstAndTextsEndingInTheirField) {
  put(0, {37});
  put(1, {0x00, 0x00, 0x01, 0x2C});                                    // platen scans
  put(5, {0x00, 0x01, 0x00, 0x00});                                    // ADF scans
  put(9, {0x12, 0x34, 0x56, 0x78});                                    // prints
  put(13, {0x00, 0x00, 0x00, 0x02});                                   // toner
  put(17, {0x00, 0x00, 0x00, 0x03});                                   // ADF jams
  put(21, {0xFF, 0xFF, 0xFF, 0xFF});                                   // print jams
  put(25, Bytes({'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'}));  // fills its field
  put(35, Bytes({'E', '1', ' ', ' ', 0, 'X', 'X', 'X', 'X', 'X'}));    // kept as it came
  std::vector<uint8_t> emulation(30, 'M');
  put(45, emulation);
  put(75, Bytes({'S', 'N', '7', 0}));

  EXPECT_NE(Mfp_GetDeviceInfo(), 0);
  ASSERT_EQ(requests().size(), 1u);
  EXPECT_THAT(requests()[0], ElementsAre(0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x43));
  EXPECT_EQ(info().freeMemory, 37);
  EXPECT_EQ(info().platenScanCount, 300u);
  EXPECT_EQ(info().adfScanCount, 65536u);
  EXPECT_EQ(info().printCount, 0x12345678u);
  EXPECT_EQ(info().tonerCount, 2u);
  EXPECT_EQ(info().adfJamCount, 3u);
  EXPECT_EQ(info().printJamCount, 0xFFFFFFFFu);
  EXPECT_STREQ(info().fwVersion, "ABCDEFGHIJ");
  EXPECT_STREQ(info().engineVersion, "E1  ");
  EXPECT_EQ(std::string(info().emulVersion), std::string(30, 'M'));
  EXPECT_STREQ(info().extraText, "SN7");

  const std::string trace = fake.debug.text();
  EXPECT_THAT(trace, HasSubstr("===> (Get Adv-Settings) SYSTEM STATUS <===\n\r"));
  EXPECT_THAT(trace, HasSubstr("WriteData = 9 \n\r"));
  EXPECT_THAT(trace, HasSubstr("Size to read = 115 \n\r"));
  EXPECT_THAT(trace, HasSubstr("ReadData = 115 \n\r"));
  EXPECT_THAT(trace, HasSubstr("Length = 111 \n\r"));
  EXPECT_THAT(trace, HasSubstr("0x70: "));  // the whole 115-byte buffer is dumped
}

// Counters that never arrived would read as zeros, so any answer short of the whole record
// leaves it as it was.
TEST_F(DeviceInfoTest, AnswerThatIsNotWholeLeavesTheRecordAsItWas) {
  for (devsim::Fault fault : {devsim::Fault::kSilent, devsim::Fault::kShortAnswer,
                              devsim::Fault::kZeroLength, devsim::Fault::kBusy}) {
    DefaultMachineState();
    sim.model.setFault(fault);
    EXPECT_EQ(Mfp_GetDeviceInfo(), 0) << int(fault);
    EXPECT_EQ(std::memcmp(&info(), &kDefaultDeviceInfo, sizeof kDefaultDeviceInfo), 0)
        << int(fault);
    sim.model.setFault(fault, false);
  }
}

}  // namespace
}  // namespace vornik::test
