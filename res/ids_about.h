// The control ids of the About box's template (110).
#pragma once

#include "res/dialog_template.h"

namespace vornik::res::about_ids {

inline constexpr int kOk = kIdOk;

}  // namespace vornik::res::about_ids
