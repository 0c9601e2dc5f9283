// A device command fuzzed through the program's own link: fake platform services, a
// scripted device on the ECP port answering each read with the next prepared answer, and
// the connection and machine state at their start-up values.
#pragma once

#include <algorithm>
#include <iterator>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "link/command_frame.h"
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

// Everything `MachineState` holds, as bytes, to tell whether a command changed it: the
// counts, the model code, the two setups in wire form, then the device information field
// by field (its texts whole, terminators and all).
inline std::vector<uint8_t> MachineStateBytes() {
  std::vector<uint8_t> bytes = {MachineState.OneTouchCount, MachineState.SpeedDialCount,
                                MachineState.ModelCode};
  bytes.resize(3 + system_setup_wire::kFieldBytes + advanced_setup_wire::kPayloadBytes);
  EncodeSystemSetup(MachineState.SystemSetup, bytes.data() + 3);
  EncodeAdvancedSetup(MachineState.AdvancedSetup,
                      bytes.data() + 3 + system_setup_wire::kFieldBytes);
  const DeviceInfoRecord& info = MachineState.DeviceInfo;
  bytes.push_back(info.freeMemory);
  for (uint32_t count : {info.platenScanCount, info.adfScanCount, info.printCount, info.tonerCount,
                         info.adfJamCount, info.printJamCount})
    for (int shift : {24, 16, 8, 0})
      bytes.push_back(uint8_t(count >> shift));
  for (std::span<const char> text :
       {std::span<const char>(info.fwVersion), std::span<const char>(info.engineVersion),
        std::span<const char>(info.emulVersion), std::span<const char>(info.extraText)})
    bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// Runs the read of `record`, `command`, with `answer` as the device's answer. Only a whole
// answer to that read (at least `answerSize` bytes, its length field counting exactly that
// many, bytes 4 to 8 the read's signature, operation and record) may succeed; any other must
// fail and leave the machine state as it was. Returns whether it was whole.
inline bool ReadsOnlyWholeAnswers(ScriptedLink& link, int (*command)(), uint8_t record,
                                  std::span<const uint8_t> answer, size_t answerSize) {
  link.device.answers.emplace_back(answer.begin(), answer.end());
  const auto before = MachineStateBytes();
  const int result = command();
  const uint8_t readOfRecord[] = {kSignature[0], kSignature[1], kSignature[2], kOpReadRecord,
                                  record};
  const bool whole =
      answer.size() >= answerSize && size_t(answer[2] << 8 | answer[3]) + 4 == answerSize &&
      std::equal(std::begin(readOfRecord), std::end(readOfRecord), answer.begin() + 4);
  FUZZ_CHECK((result != 0) == whole);
  if (!whole)
    FUZZ_CHECK(MachineStateBytes() == before);
  return whole;
}

}  // namespace vornik::fuzz
