#include <gtest/gtest.h>

#include "platform/device_names.h"

namespace platform {
namespace {

TEST(DeviceNames, PortNamesMapToLinuxDevices) {
  EXPECT_EQ(DevicePathFor("LPT1"), "/dev/lp0");
  EXPECT_EQ(DevicePathFor("lpt3"), "/dev/lp2");
  EXPECT_EQ(DevicePathFor("\\\\.\\HarnEcp1"), "/dev/parport0");
  EXPECT_EQ(DevicePathFor("\\\\.\\HarnEcp3"), "/dev/parport2");
  EXPECT_TRUE(IsEcpPortPath("/dev/parport0"));
  EXPECT_FALSE(IsEcpPortPath("/dev/lp0"));
}

TEST(DeviceNames, UsbPipesNameTheirControlPort) {
  EXPECT_EQ(DevicePathFor("/run/vornik.sock\\PIPE00"), "/run/vornik.sock");
  EXPECT_EQ(DevicePathFor("/dev/usb/lp0\\PIPE01"), "/dev/usb/lp0");
  EXPECT_EQ(DevicePathFor("/dev/usb/lp0\\PIPE02"), "/dev/usb/lp0\\PIPE02");
}

TEST(DeviceNames, OtherNamesStandAsTheyAre) {
  EXPECT_EQ(DevicePathFor("LPT10"), "LPT10");
  EXPECT_EQ(DevicePathFor("LPT0"), "LPT0");
  EXPECT_EQ(DevicePathFor("LPT"), "LPT");
  EXPECT_EQ(DevicePathFor("/tmp/vornik.sock"), "/tmp/vornik.sock");
  EXPECT_EQ(DevicePathFor(""), "");
}

}  // namespace
}  // namespace platform
