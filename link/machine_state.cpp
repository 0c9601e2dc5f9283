#include "link/machine_state.h"

#include <cstring>

namespace vornik {

MachineStateBlock MachineState;

void DefaultMachineState() {
  std::memset(&MachineState, 0, sizeof MachineState);
  MachineState.OneTouchCount = kDefaultOneTouchCount;
  MachineState.SpeedDialCount = kDefaultSpeedDialCount;
  MachineState.ModelCode = kDefaultModelCode;
  MachineState.SystemSetup = kDefaultSystemSetup;
  MachineState.AdvancedSetup = kDefaultAdvancedSetup;
  MachineState.DeviceInfo = kDefaultDeviceInfo;
}

}  // namespace vornik
