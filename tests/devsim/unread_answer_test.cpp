// An answer that a command left unread waits in the device, as the simulator keeps it. Every
// command discards it before its request and then reads its own answer, on every port.
#include <gmock/gmock.h>

#include "info/device_info.h"
#include "link/inquiry.h"
#include "link/port_io.h"
#include "link/spin_delay.h"
#include "phonebook/phonebook_store.h"
#include "phonebook/phonebook_transfer.h"
#include "settings/advanced_setup.h"
#include "settings/system_setup.h"
#include "sim_fixture.h"

namespace devsim::test {
namespace {

using testing::Contains;

class UnreadAnswerTest : public SimTest {
 protected:
  UnreadAnswerTest() { EXPECT_TRUE(vornik::AllocatePhonebookStore()); }
  ~UnreadAnswerTest() override { vornik::FreePhonebookStore(); }

  // A device-information read stopped after its request: its 115-byte answer stays unread.
  void interruptInformationRead() {
    const auto request = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x43});
    ASSERT_EQ(vornik::PortWrite(request.data(), request.size()), request.size());
    vornik::SpinDelay(vornik::kGetDeviceInfoWaitMs);
  }
};

TEST_F(UnreadAnswerTest, EveryCommandDiscardsAnUnreadAnswerAndTakesItsOwn) {
  struct Command {
    const char* name;
    int (*run)();
  };
  const Command commands[] = {
      {"inquiry", vornik::Mfp_Inquiry},
      {"settings read", vornik::Mfp_GetSettings},
      {"settings write", vornik::Mfp_SetSettings},
      {"advanced read", vornik::Mfp_GetSystemInfo},
      {"advanced write", vornik::Mfp_SetSystemInfo},
      {"information read", vornik::Mfp_GetDeviceInfo},
      {"phonebook read", vornik::Mfp_GetPhonebook},
      {"phonebook write", vornik::Mfp_SetPhonebook},
  };
  for (const int32_t port : {vornik::kPortLpt1, vornik::kPortEcp1, vornik::kPortUsb}) {
    if (port == vornik::kPortUsb) {
      useUsbPipes();
    } else {
      usePort(port);
    }
    for (const Command& command : commands) {
      SCOPED_TRACE(std::string(command.name) + " on port " + std::to_string(port));
      interruptInformationRead();
      fake.debug.lines.clear();
      EXPECT_NE(command.run(), 0);
      EXPECT_EQ(vornik::MachineState.ModelCode, 2);
      EXPECT_THAT(fake.debug.lines, Contains("Discarded = 115 \n\r"));
      EXPECT_FALSE(sim.model.msUntilReady(now()));  // nothing left for the next command
    }
  }
}

}  // namespace
}  // namespace devsim::test
