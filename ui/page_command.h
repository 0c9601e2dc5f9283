// The one way a page runs a device command.
#pragma once

#include <cstdint>

class QWidget;

namespace vornik {

// Every device command of a page ends with this pause, whatever its result.
inline constexpr uint32_t kAfterCommandMs = 500;

// Runs `command` as every page does: wait cursor, the command, the 500 ms pause, cursor
// off, and the not-responding box (owned by `owner`) on failure. Returns whether the
// command succeeded (returned non-zero). Its waits keep the window answering its desktop
// (the wait hook), and `PageCommands()` counts it as running until it returns.
bool RunPageCommand(int (*command)(), QWidget* owner);

}  // namespace vornik
