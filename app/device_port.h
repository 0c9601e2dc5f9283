// Port arbitration: while the panel runs it holds the device port against the device's
// scanner driver through the arbitration library "grenlo.dll".
#pragma once

namespace vornik {

// The code that start-up and clean-up pass for the device's port.
inline constexpr int kDevicePortCode = 8;

// Loads the arbitration library and acquires the port. A machine without the library
// runs unarbitrated: that counts as success. The library stays loaded until release,
// also when it refused.
bool AcquireDevicePort(int code);

// Releases the port and unloads the library; false when no library is loaded or it
// refused.
bool ReleaseDevicePort(int code);

}  // namespace vornik
