// The control ids of the Settings page's template (106).
#pragma once

namespace vornik::res::settings_ids {

inline constexpr int kTrayPaperSizeLabel = 1140;
inline constexpr int kTrayPaperSize = 1156;
inline constexpr int kBypassPaperSizeLabel = 1141;
inline constexpr int kBypassPaperSize = 1019;
inline constexpr int kPaperTypeLabel = 1142;
inline constexpr int kPaperType = 1020;
inline constexpr int kSendConfirmLabel = 1153;
inline constexpr int kSendConfirm = 1018;
inline constexpr int kPrintTimeOutLabel = 1155;
inline constexpr int kPrintTimeOut = 1081;
inline constexpr int kAutoJournal = 1056;
inline constexpr int kRxReduction = 1058;

inline constexpr int kDiscardSizeLabel = 1143;
inline constexpr int kDiscardSize = 1021;
inline constexpr int kDiscardSizeArrows = 1096;
inline constexpr int kDiscardSizeUnit = 1159;
inline constexpr int kRingCountLabel = 1146;
inline constexpr int kRingCount = 1023;
inline constexpr int kRingCountArrows = 1097;
inline constexpr int kRingCountUnit = 1144;
inline constexpr int kRedialIntervalLabel = 1147;
inline constexpr int kRedialInterval = 1026;
inline constexpr int kRedialIntervalArrows = 1099;
inline constexpr int kRedialIntervalUnit = 1116;
inline constexpr int kRedialCountLabel = 1148;
inline constexpr int kRedialCount = 1025;
inline constexpr int kRedialCountArrows = 1098;
inline constexpr int kRedialCountUnit = 1145;
inline constexpr int kZoomLabel = 1149;
inline constexpr int kZoom = 1028;
inline constexpr int kZoomArrows = 1100;
inline constexpr int kZoomUnit = 1160;
inline constexpr int kCopiesLabel = 1150;
inline constexpr int kCopies = 1001;
inline constexpr int kCopiesArrows = 1102;

// Kept by the device, never shown.
inline constexpr int kContrastLabel = 1151;
inline constexpr int kContrast = 1024;
inline constexpr int kDocumentModeLabel = 1152;
inline constexpr int kDocumentMode = 1027;
inline constexpr int kReceiveModeLabel = 1154;
inline constexpr int kReceiveMode = 1022;

inline constexpr int kRefresh = 1060;
inline constexpr int kApply = 1063;

}  // namespace vornik::res::settings_ids
