// The simulator's state file: what the device keeps (records, phonebook, firmware
// account) as text lines of hex, so edits made through the panel survive a restart.
//
//   vornik-devsim state 1
//   system-setup <22 bytes>
//   advanced-setup <73 bytes>
//   device-info <105 bytes>
//   firmware <images received> <last image size> <last image checksum>
//   phonebook <slot 1..100> <group flag, in-use flag, name, dial data: 68 bytes>
#pragma once

#include <string>

#include "devsim/device_content.h"

namespace devsim {

// Replaces the file at `path` with the content whole (see platform::SaveFileSafely):
// neither a reader nor a crash at any moment finds half a file. False with `error` saying
// what failed and why. A state file this makes is private to its owner (mode 0600).
bool SaveState(const DeviceContent& content, const std::string& path, std::string& error);

enum class LoadResult { kLoaded, kMissing, kBad };

// Reads a state file into `content`, over what it holds (the model code is not part of
// the state). A file that is not exactly as written by SaveState, every line in its place,
// is refused whole: kBad with `error` naming the first line damaged or missing, `content`
// unchanged.
LoadResult LoadState(const std::string& path, DeviceContent& content, std::string& error);

}  // namespace devsim
