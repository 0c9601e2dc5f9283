// The control ids of the main window's template (102).
#pragma once

namespace vornik::res::main_ids {

inline constexpr int kExit = 1006;
inline constexpr int kHelp = 1042;

}  // namespace vornik::res::main_ids
