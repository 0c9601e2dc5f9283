// The control ids of the Information page's template (104): each value with its label.
#pragma once

namespace vornik::res::info_ids {

inline constexpr int kFirmwareVersionLabel = 1130;
inline constexpr int kFirmwareVersion = 1065;
inline constexpr int kEngineVersionLabel = 1131;
inline constexpr int kEngineVersion = 1066;
inline constexpr int kEmulationVersionLabel = 1132;
inline constexpr int kEmulationVersion = 1067;
inline constexpr int kFreeMemoryLabel = 1133;
inline constexpr int kFreeMemory = 1075;
inline constexpr int kAdfScanCountLabel = 1134;
inline constexpr int kAdfScanCount = 1070;
inline constexpr int kPrintCountLabel = 1135;
inline constexpr int kPrintCount = 1071;
inline constexpr int kPlatenScanCountLabel = 1136;
inline constexpr int kPlatenScanCount = 1069;
inline constexpr int kAdfJamCountLabel = 1137;
inline constexpr int kAdfJamCount = 1073;
inline constexpr int kPrintJamCountLabel = 1138;
inline constexpr int kPrintJamCount = 1074;
inline constexpr int kTonerCountLabel = 1139;
inline constexpr int kTonerCount = 1072;

inline constexpr int kRefresh = 1060;

}  // namespace vornik::res::info_ids
