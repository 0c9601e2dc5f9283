// The program's string table: the texts that are not localized (start-up messages, the
// firmware page's text before it is localized).
#pragma once

namespace vornik::res {

inline constexpr int kStrAppTitle = 1;           // "Helmdeck"
inline constexpr int kStrNotResponding = 10;     // "Not responding"
inline constexpr int kStrSelectFirmware = 100;   // "Select a firmware file."
inline constexpr int kStrPortBusy = 107;         // "Port is busy"

// The string with `id`, or the empty text for an id the table lacks.
const char* StringResource(int id);

}  // namespace vornik::res
