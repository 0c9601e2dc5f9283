// The control ids of the Advanced page's template (123).
#pragma once

namespace vornik::res::advanced_ids {

inline constexpr int kMachineNumberLabel = 1107;
inline constexpr int kMachineNumber = 1088;
inline constexpr int kMachineIdLabel = 1108;
inline constexpr int kMachineId = 1089;
inline constexpr int kPrefixDialLabel = 1109;
inline constexpr int kPrefixDial = 1001;
inline constexpr int kSpeakerLabel = 1110;
inline constexpr int kSpeaker = 1061;
inline constexpr int kRingerLabel = 1111;
inline constexpr int kRinger = 1062;

inline constexpr int kTollSaverFrame = 1117;
inline constexpr int kTollSaverOff = 1004;
inline constexpr int kTollSaverOn = 1005;
inline constexpr int kTollStartLabel = 1118;
inline constexpr int kTollStartDate = 1104;
inline constexpr int kTollStartTime = 1101;
inline constexpr int kTollEndLabel = 1119;
inline constexpr int kTollEndDate = 1105;
inline constexpr int kTollEndTime = 1102;

inline constexpr int kUsbModeLabel = 1112;
inline constexpr int kUsbMode = 1057;
inline constexpr int kLanguageLabel = 1113;
inline constexpr int kLanguage = 1058;
inline constexpr int kClockModeLabel = 1114;
inline constexpr int kClockMode = 1053;

inline constexpr int kPowerSaveFrame = 1115;
inline constexpr int kPowerSaveOff = 1002;
inline constexpr int kPowerSaveOn = 1003;
inline constexpr int kPowerSaveMinutes = 1000;
inline constexpr int kPowerSaveMinutesUnit = 1116;

inline constexpr int kAlarmSound = 1051;
inline constexpr int kKeySound = 1052;
inline constexpr int kStampReceiverName = 1106;
inline constexpr int kEcmMode = 1028;

inline constexpr int kRefresh = 1060;
inline constexpr int kApply = 1063;

}  // namespace vornik::res::advanced_ids
