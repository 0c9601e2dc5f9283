// A device command fuzzed through the program's own link: fake platform services, a
// scripted device on the ECP port answering each read with the next prepared answer, and
// the connection and machine state at their start-up values.
#pragma once

#include <vector>

#include "fuzz_support.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"

namespace vornik::fuzz {

struct ScriptedLink {
  ScriptedLink() {
    Connection = ConnectionState{};
    Connection.PortKind = kPortEcp1;
    Connection.osFlavour = OsFlavour::Nt5;
    DefaultMachineState();
    fake.clock.step = 10;  // busy waits of a second or more cost a hundred polls
    fake.devices.add(PortNameTable[kPortEcp1], device.factory());
  }

  platform::FakePlatform fake;
  platform::ScriptedDevice device;
};

// Everything `MachineState` holds, as bytes, to tell whether a command changed it.
inline std::vector<uint8_t> MachineStateBytes() {
  std::vector<uint8_t> bytes = {MachineState.OneTouchCount, MachineState.SpeedDialCount,
                                MachineState.ModelCode};
  bytes.resize(3 + system_setup_wire::kFieldBytes);
  EncodeSystemSetup(MachineState.SystemSetup, bytes.data() + 3);
  return bytes;
}

}  // namespace vornik::fuzz
