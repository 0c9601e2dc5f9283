// The control ids of the group dial dialog's template (143).
#pragma once

#include "res/dialog_template.h"

namespace vornik::res::group_dial_ids {

inline constexpr int kNameLabel = 1120;
inline constexpr int kName = 1002;
inline constexpr int kTypeList = 1000;
inline constexpr int kRemove = 1024;
inline constexpr int kAdd = 1023;
inline constexpr int kIncludedLabel = 1157;
inline constexpr int kIncludedList = 1027;
inline constexpr int kAvailableLabel = 1158;
inline constexpr int kAvailableList = 1028;
inline constexpr int kOk = kIdOk;
inline constexpr int kCancel = kIdCancel;

}  // namespace vornik::res::group_dial_ids
