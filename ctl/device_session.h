// The device, taken for one command as the panel takes it at start-up: the port held
// through the arbitration library, the connection found by discovery (or named on the
// command line), the inquiry answered, with the panel's USB-to-parallel fallback.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class ScopedServices;
}

namespace vornik::ctl {

// Where the device is: found by discovery as the panel finds it, or named.
struct PortChoice {
  std::optional<int32_t> kind;  // kPortUsb, kPortLpt1 or kPortEcp1: no discovery, no fallback
  std::string devicePath;       // the port's device file or bridge socket instead of its own
};

class DeviceSession {
 public:
  // Takes the device. Throws CtlFailure: kExitBadInput when the device path names something
  // that is neither a character device nor a socket (nothing is opened), kExitPortBusy when the
  // arbitration library refuses the port, kExitPermissionDenied when a port exists that this user
  // may not open, kExitNotResponding when a port exists but the device does not answer (or does not
  // let itself be opened), kExitNoDevice when there is no device at any port tried. The port stays
  // held until the program's clean-up.
  explicit DeviceSession(const PortChoice& choice);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Throws CtlFailure unless the device's model has the Settings, Advanced and Phonebook
  // functions (kExitNoDevice), or when its inquiry answer named no model
  // (kExitNotResponding); `what` names the function asked for.
  void requireSetupModel(std::string_view what) const;

 private:
  class PortRedirect;
  std::unique_ptr<PortRedirect> redirect_;
};

}  // namespace vornik::ctl
