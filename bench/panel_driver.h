// The panel as the benchmarks drive it: started on the benchmark's device, its pages
// chosen with keys, the device's frame log telling which records each page read.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_device.h"

namespace vornik::bench {

inline constexpr int kWindowTimeoutMs = 30000;
inline constexpr int kExitTimeoutMs = 10000;

// The panel on the benchmark's device, on the display the benchmark runs under.
std::unique_ptr<ChildProcess> StartPanel(const BenchDevice& device);

// The bytes that name the read request of a record in the device's frame log: the
// signature, the operation and the record.
std::string ReadRequestLogged(uint8_t record);

// Waits until the device has received `request` more than `before` times; false when it
// did not within a page read's time.
bool WaitForRequest(const BenchDevice& device, const std::string& request, int before);

// xdotool's arguments that press `keys` on the focused window.
std::vector<std::string> XdotoolKeys(const std::vector<std::string>& keys);
bool PressKeys(const std::vector<std::string>& keys);

// Gives the window the keyboard and takes it to the tab strip, as a keyboard user does:
// the focus starts on Exit, the window's default button, and Help comes before the strip.
bool FocusTabStrip(Window window);

}  // namespace vornik::bench
