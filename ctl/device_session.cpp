#include "ctl/device_session.h"

#include <cstring>
#include <filesystem>
#include <vector>

#include "app/device_check.h"
#include "app/device_id.h"
#include "app/port_discovery.h"
#include "ctl/exit_status.h"
#include "ctl/scoped_devices.h"
#include "link/connection.h"
#include "link/machine_state.h"
#include "platform/device_names.h"
#include "platform/platform.h"

namespace vornik::ctl {

// Opens the named device path wherever the program opens the port by its own name.
class DeviceSession::PortRedirect : public platform::DeviceFiles {
 public:
  PortRedirect(std::string portName, std::string path)
      : portName_(std::move(portName)),
        path_(std::move(path)),
        inner_(*platform::Services().devices),
        scope_(*this) {}

  std::unique_ptr<platform::DeviceFile> open(const std::string& name, unsigned access,
                                             unsigned share) override {
    return inner_.open(name == portName_ ? path_ : name, access, share);
  }
  bool accessDenied(const std::string& name) override {
    return inner_.accessDenied(name == portName_ ? path_ : name);
  }

 private:
  std::string portName_;
  std::string path_;
  platform::DeviceFiles& inner_;
  ScopedDevices scope_;
};

namespace {

// A port tried: the name the program opens it by, and the path a person knows it by.
struct TriedPort {
  std::string name;
  std::string path;
};

TriedPort Tried(const std::string& name) {
  return {name, platform::DevicePathFor(name)};
}

bool PortOpens(const TriedPort& port) {
  return platform::Services().devices->open(
             port.name, platform::kAccessRead | platform::kAccessWrite,
             platform::kShareRead | platform::kShareWrite) != nullptr;
}

bool PathExists(const TriedPort& port) {
  std::error_code ignored;
  return std::filesystem::exists(port.path, ignored);
}

std::string Paths(const std::vector<TriedPort>& ports) {
  std::string paths;
  for (const auto& port : ports)
    paths += (paths.empty() ? "" : ", ") + port.path;
  return paths;
}

// Why the device did not answer on any of `ports`.
CtlFailure Unreachable(const std::vector<TriedPort>& ports) {
  std::vector<std::string> names;
  for (const auto& port : ports)
    names.push_back(port.name);
  if (const std::string denied = DeniedPort(names); !denied.empty())
    return CtlFailure(kExitPermissionDenied,
                      "you may not open the device's port " + denied +
                          ": the device rule 60-vornik.rules gives the user at the desktop "
                          "access; else ask to be added to the group lp");
  for (const auto& port : ports) {
    if (PortOpens(port))
      return CtlFailure(kExitNotResponding, "the device on " + port.path + " does not answer");
  }
  for (const auto& port : ports) {
    if (PathExists(port))
      return CtlFailure(kExitNotResponding, "the device on " + port.path +
                                                " cannot be opened: another program may be "
                                                "using it");
  }
  return CtlFailure(kExitNoDevice, "no device found (tried " + Paths(ports) + ")");
}

void SetUsbPaths(const std::string& path) {
  if (path.size() >= kUsbNameSize)
    throw CtlFailure(kExitBadInput, "the device path is longer than " +
                                        std::to_string(kUsbNameSize - 1) + " characters");
  std::memset(Connection.UsbWritePath, 0, kUsbNameSize);
  std::memset(Connection.UsbReadPath, 0, kUsbNameSize);
  std::memcpy(Connection.UsbWritePath, path.data(), path.size());
  std::memcpy(Connection.UsbReadPath, path.data(), path.size());
}

// Several USB printer ports and no way to tell which is the device's: no port is guessed.
void RefuseToGuess(const std::vector<PortCandidate>& undecided) {
  if (undecided.empty())
    return;
  std::string ports;
  for (const PortCandidate& port : undecided) {
    const std::string what = DeviceIdMakerAndModel(port.deviceId);
    ports += (ports.empty() ? "" : ", ") + port.path + " (" +
             (what.empty() ? "no device ID" : what) + ")";
  }
  throw CtlFailure(kExitNoDevice,
                   "several USB printer ports, and none can be told to be the device's: " + ports +
                       "; name the device's with --device PATH, or choose it once in the panel");
}

}  // namespace

DeviceSession::DeviceSession(const PortChoice& choice) {
  // Before the port is taken: a path that is no device is a mistake in the command line,
  // and a regular file there would take the device's requests. A missing path is no device.
  if (!choice.devicePath.empty() &&
      platform::KindOfDevicePath(choice.devicePath) == platform::DevicePathKind::kOther)
    throw CtlFailure(kExitBadInput, "--device: " + choice.devicePath +
                                        " is neither a character device nor a socket");
  // The lock is the USB device's own; the parallel port's is the port code's, as the panel's.
  if (choice.kind && *choice.kind != kPortUsb)
    NameUsbPort("");
  else if (!choice.devicePath.empty())
    NameUsbPort(choice.devicePath);
  else
    RefuseToGuess(ChooseDevicePort(nullptr));
  if (!PrepareDeviceLink())
    throw CtlFailure(kExitPortBusy,
                     "the device's port is busy: another program holds it (the panel, or the "
                     "device's scanner driver)");
  std::vector<TriedPort> tried;
  if (!choice.devicePath.empty()) {
    Connection.PortKind = choice.kind.value_or(kPortUsb);
    if (Connection.PortKind == kPortUsb)
      SetUsbPaths(choice.devicePath);
    else
      redirect_ = std::make_unique<PortRedirect>(SelectedPortName(), choice.devicePath);
    tried.push_back({choice.devicePath, choice.devicePath});
  } else if (choice.kind == kPortUsb) {
    DiscoverPort();
    tried.push_back(Tried(Connection.UsbWritePath));
    if (Connection.PortKind != kPortUsb)
      throw Connection.UsbWritePath[0] != '\0' ? Unreachable(tried)
                                               : CtlFailure(kExitNoDevice, "no USB device found");
  } else if (choice.kind) {
    Connection.PortKind = *choice.kind;
    tried.push_back(Tried(SelectedPortName()));
  } else {
    DiscoverPort();
    for (const std::string& name : CandidatePorts())
      tried.push_back(Tried(name));
  }
  const bool discovered = !choice.kind && choice.devicePath.empty();
  if (!DeviceAnswers(discovered))
    throw Unreachable(tried);
}

DeviceSession::~DeviceSession() = default;

void DeviceSession::requireSetupModel(std::string_view what) const {
  // A bad answer to the inquiry leaves model 0: the device is there but did not say which.
  if (MachineState.ModelCode == 0)
    throw CtlFailure(kExitNotResponding,
                     "the device's answer to the inquiry was cut short or "
                     "bad: it did not say which model it is");
  if (MachineState.ModelCode != kDefaultModelCode)
    throw CtlFailure(kExitNoDevice, "the device (model " + std::to_string(MachineState.ModelCode) +
                                        ") has no " + std::string(what));
}

}  // namespace vornik::ctl
