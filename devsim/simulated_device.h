// The simulated device as a virtual device of the fake platform, for in-process tests:
//
//   devsim::SimulatedDevice sim;
//   fake.devices.add(PortNameTable[kPortLpt1], sim.factory());
//
// Every open gives a handle on the one model, so answers wait across opens as on the real
// device. Reads wait on `platform::Services().clock`: with the fake clock a whole
// exchange costs microseconds.
#pragma once

#include <functional>
#include <memory>

#include "devsim/device_model.h"
#include "platform/platform.h"

namespace devsim {

using DeviceFactory =
    std::function<std::unique_ptr<platform::DeviceFile>(unsigned access, unsigned share)>;

class SimulatedDevice {
 public:
  explicit SimulatedDevice(DeviceContent content = FactoryContent()) : model(content) {}

  // Opens a handle on `model`; null while the device refuses opens. The device must
  // outlive the factory and its handles.
  DeviceFactory factory();

  DeviceModel model;
};

}  // namespace devsim
