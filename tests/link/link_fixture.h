// A link test: fake platform services, a scripted device at the selected port, and the
// connection and machine state reset to their start-up values.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"

namespace vornik::test {

class LinkTest : public testing::Test {
 protected:
  LinkTest() {
    Connection = ConnectionState{};
    DefaultMachineState();
  }

  // Selects a port kind and registers the scripted device under its name.
  void usePort(int32_t kind) {
    Connection.PortKind = kind;
    Connection.osFlavour = OsFlavour::Nt5;
    fake.devices.add(PortNameTable[size_t(kind)], device.factory());
  }

  // Every debug write, in order.
  const std::vector<std::string>& traces() const { return fake.debug.lines; }

  platform::FakePlatform fake;
  platform::ScriptedDevice device;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values)
    bytes.push_back(uint8_t(v));
  return bytes;
}

// The device's 10-byte answer to a write of `record`: it stored it.
inline std::vector<uint8_t> WriteAcknowledgement(int record) {
  return Bytes({0x1B, 0xA4, 0x00, 0x06, 0x50, 0xE0, 0x82, 0xC2, record, 0x00});
}

}  // namespace vornik::test
