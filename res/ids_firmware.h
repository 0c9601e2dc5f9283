// The control ids of the Firmware Update page's template (101).
#pragma once

namespace vornik::res::firmware_ids {

inline constexpr int kFileFrame = 1122;
inline constexpr int kFileNameLabel = 1123;
inline constexpr int kFilePath = 1004;
inline constexpr int kBrowse = 1023;
inline constexpr int kFileSizeLabel = 1124;
inline constexpr int kFileSize = 1007;
inline constexpr int kProgressFrame = 1125;
inline constexpr int kProgressBar = 1009;
inline constexpr int kPercent = 1076;
inline constexpr int kMessageLabel = 1126;
inline constexpr int kMessage = 1075;
inline constexpr int kUpdate = 1000;

}  // namespace vornik::res::firmware_ids
