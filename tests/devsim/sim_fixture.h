// A test against the in-process simulated device: fake platform services, the device
// registered at the selected port, the connection and machine state at their start-up
// values, and every request and answer the device saw collected.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "devsim/simulated_device.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/fake_platform.h"

namespace devsim::test {

class SimTest : public testing::Test {
 protected:
  SimTest() {
    vornik::Connection = vornik::ConnectionState{};
    vornik::DefaultMachineState();
    sim.model.setObserver([this](Traffic traffic, std::span<const uint8_t> bytes) {
      seen[traffic].emplace_back(bytes.begin(), bytes.end());
    });
  }

  // Puts the device on a parallel port or the ECP driver device.
  void usePort(int32_t kind) {
    vornik::Connection.PortKind = kind;
    vornik::Connection.osFlavour = vornik::OsFlavour::Nt5;
    fake.devices.add(vornik::PortNameTable[size_t(kind)], sim.factory());
  }

  // Puts the device on the USB pipes of the older OS flavour.
  void useUsbPipes() {
    auto& c = vornik::Connection;
    c.PortKind = vornik::kPortUsb;
    c.osFlavour = vornik::OsFlavour::Win98;
    std::snprintf(c.UsbWritePath, sizeof c.UsbWritePath, "%s", "USB0\\PIPE00");
    std::snprintf(c.UsbReadPath, sizeof c.UsbReadPath, "%s", "USB0\\PIPE01");
    fake.devices.add(c.UsbWritePath, sim.factory());
    fake.devices.add(c.UsbReadPath, sim.factory());
  }

  uint32_t now() { return fake.clock.now; }

  std::vector<std::vector<uint8_t>>& requests() { return seen[Traffic::kRequest]; }
  std::vector<std::vector<uint8_t>>& answers() { return seen[Traffic::kAnswer]; }

  platform::FakePlatform fake;
  SimulatedDevice sim;
  std::map<Traffic, std::vector<std::vector<uint8_t>>> seen;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values)
    bytes.push_back(uint8_t(v));
  return bytes;
}

// The bytes of a text, as the device keeps it: blank-padded to `width`.
inline std::vector<uint8_t> Padded(std::string_view text, size_t width) {
  std::vector<uint8_t> bytes(width, ' ');
  std::copy(text.begin(), text.end(), bytes.begin());
  return bytes;
}

}  // namespace devsim::test
