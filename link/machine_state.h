// `MachineState`: the one process-wide block of device values, shared by the pages, the
// device commands and the File menu. Zero-filled, then defaulted, at start-up.
#pragma once

#include <cstdint>

#include "info/device_info.h"
#include "settings/advanced_setup.h"
#include "settings/system_setup.h"

namespace vornik {

inline constexpr uint8_t kDefaultOneTouchCount = 0;
inline constexpr uint8_t kDefaultSpeedDialCount = 100;
inline constexpr uint8_t kDefaultModelCode = 2;

struct MachineStateBlock {
  // The phonebook count word: byte 0 (low) one-touch entries, byte 1 (high) speed dials.
  uint8_t OneTouchCount;
  uint8_t SpeedDialCount;
  // Written only by the inquiry; 2 is the model with the setup and phonebook pages.
  uint8_t ModelCode;
  SystemSetupRecord SystemSetup;
  AdvancedSetupRecord AdvancedSetup;
  DeviceInfoRecord DeviceInfo;
  // `DeviceInfo` holds the device's own answer, not its start-up values.
  bool DeviceInfoRead;
};

extern MachineStateBlock MachineState;

// Number of phonebook entries: speed dials plus one-touch entries.
inline int PhonebookEntryCount() {
  return int(MachineState.SpeedDialCount) + int(MachineState.OneTouchCount);
}

// Zero-fills `MachineState`, then sets every record's defaults.
void DefaultMachineState();

}  // namespace vornik
