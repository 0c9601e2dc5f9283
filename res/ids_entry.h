// The control ids of the phonebook entry dialog's template (112).
#pragma once

#include "res/dialog_template.h"

namespace vornik::res::entry_ids {

inline constexpr int kNameLabel = 1120;
inline constexpr int kName = 1002;
inline constexpr int kNumberLabel = 1121;
inline constexpr int kNumber = 1001;
inline constexpr int kOk = kIdOk;
inline constexpr int kCancel = kIdCancel;

}  // namespace vornik::res::entry_ids
