// Puts other device files in the place of the platform's for its lifetime: a decorator
// that takes the devices in force as its inner ones and hands every open on to them.
#pragma once

#include "platform/platform.h"

namespace vornik::ctl {

class ScopedDevices {
 public:
  explicit ScopedDevices(platform::DeviceFiles& devices) : scope_(With(devices)) {}

 private:
  static platform::ServiceSet With(platform::DeviceFiles& devices) {
    platform::ServiceSet services = platform::Services();
    services.devices = &devices;
    return services;
  }

  platform::ScopedServices scope_;
};

}  // namespace vornik::ctl
