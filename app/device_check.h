// The window-free half of start-up's device check: take the port, make the store and the
// OS flavour ready, ask the device the inquiry (with the USB-to-parallel fallback), and
// tell which port refuses this user. The panel's start-up and vornikctl both run it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/usb_port_choice.h"

namespace vornik {

// Chooses the device's USB printer port (usb_port_choice.h) unless the user named one in
// `kUsbPortVariable`, and names it to the driver stand-ins, before the port is taken: the
// lock is the chosen device's. Without `ask`, returns the ports that could not be told apart
// (nothing is named then); else empty.
std::vector<PortCandidate> ChooseDevicePort(const AskUsbPort& ask);

// Acquires the device's port through the arbitration library, allocates the phonebook
// store and sets `Connection.osFlavour`. False when the arbitration library refused the
// port (nothing else is done then).
bool PrepareDeviceLink();

// Two inquiries on the selected port; when USB stays silent and `usbFallback` allows,
// `Connection.PortKind` moves to the flavour's parallel port and two more follow. True
// when the device answered. `waiting` is called with true before each pair of inquiries
// and with false after it (the panel shows its wait cursor meanwhile).
bool DeviceAnswers(bool usbFallback, const std::function<void(bool waiting)>& waiting = {});

// The ports the device may be reached on after discovery, in the order start-up tries
// them: the USB control port (when the USB library named one), then the flavour's
// parallel port.
std::vector<std::string> CandidatePorts();

// The system path of the first of `ports` that exists but that this user may not open;
// empty when none is refused for its permissions.
std::string DeniedPort(const std::vector<std::string>& ports);

}  // namespace vornik
