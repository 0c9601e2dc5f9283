// The Information page (104) and the Firmware Update page (101).
#include "res/templates.h"

namespace vornik::res {
namespace {

using enum ControlKind;

constexpr unsigned kValueText = kSunken;
constexpr unsigned kValueNumber = kSunken | kAlignCenter;

// One frame around two columns of label and value pairs; the emulation version's value
// runs across both columns.
constexpr ControlTemplate kInfoControls[] = {
    Control(kGroupBox, kUnnamed, "", 8, 6, 331, 174),
    Control(kLabel, 1130, "Firmware version:", 14, 22, 92, 8, kAlignRight, "IDL_FW_VERSION"),
    Control(kLabel, 1065, "1.00", 110, 20, 62, 12, kValueText),
    Control(kLabel, 1131, "Engine Version:", 178, 22, 84, 8, kAlignRight, "IDL_ENGINE_VERSION"),
    Control(kLabel, 1066, "V1.0.0", 266, 20, 62, 12, kValueText),
    Control(kLabel, 1132, "Emulation version:", 14, 42, 92, 8, kAlignRight, "IDL_EMUL_VERSION"),
    Control(kLabel, 1067, "MARV 1.15 12-17-2002", 110, 40, 218, 12, kValueText),
    Control(kLabel, 1133, "Free memory:", 14, 62, 92, 8, kAlignRight, "IDL_FREE_MEMORY"),
    Control(kLabel, 1075, " 100 % ", 110, 60, 62, 12, kValueNumber),
    Control(kLabel, 1134, "ADF scan count:", 178, 62, 84, 8, kAlignRight, "IDL_ADF_SCAN_COUNT"),
    Control(kLabel, 1070, "0", 266, 60, 62, 12, kValueNumber),
    Control(kLabel, 1135, "Print count:", 14, 82, 92, 8, kAlignRight, "IDL_PRINT_COUNT"),
    Control(kLabel, 1071, "0", 110, 80, 62, 12, kValueNumber),
    Control(kLabel, 1136, "Platen scan count:", 178, 82, 84, 8, kAlignRight,
            "IDL_PLATEN_SCAN_COUNT"),
    Control(kLabel, 1069, "0", 266, 80, 62, 12, kValueNumber),
    Control(kLabel, 1137, "ADF jam count:", 14, 102, 92, 8, kAlignRight, "IDL_ADF_JAM_COUNT"),
    Control(kLabel, 1073, "0", 110, 100, 62, 12, kValueNumber),
    Control(kLabel, 1138, "Print jam count:", 178, 102, 84, 8, kAlignRight, "IDL_PRINT_JAM_COUNT"),
    Control(kLabel, 1074, "0", 266, 100, 62, 12, kValueNumber),
    Control(kLabel, 1139, "Replaced toner count:", 14, 122, 92, 8, kAlignRight, "IDL_TONER_COUNT"),
    Control(kLabel, 1072, "0", 110, 120, 62, 12, kValueNumber),
    Control(kPushButton, 1060, "Refresh", 257, 189, 70, 20, 0, "IDC_REFRESH"),
};

constexpr ControlTemplate kFirmwareControls[] = {
    Control(kGroupBox, 1122, "File information", 15, 11, 316, 75, 0, "IDL_FILE_INFORMATION"),
    Control(kLabel, 1123, "File name:", 26, 37, 78, 8, kAlignRight, "IDL_FILE_NAME"),
    Control(kLabel, 1004, "...", 110, 34, 140, 12, kValueText),
    Control(kPushButton, 1023, "Browse...", 258, 31, 65, 16, 0, "IDC_BROWSE"),
    Control(kLabel, 1124, "File size:", 26, 61, 78, 8, kAlignRight, "IDL_FILE_SIZE"),
    Control(kLabel, 1007, "0 bytes", 110, 59, 73, 12, kValueText),
    Control(kGroupBox, 1125, "Progress", 15, 101, 314, 69, 0, "IDL_PROGRESS"),
    Control(kProgressBar, 1009, "", 45, 117, 226, 18),
    Control(kLabel, 1076, "0 %", 280, 122, 29, 8, kAlignCenter),
    Control(kLabel, 1126, "Message:", 19, 148, 67, 8, kAlignRight, "IDL_MESSAGE"),
    Control(kLabel, 1075, "Static", 91, 146, 217, 13, kValueText),
    Control(kPushButton, 1000, "Update", 257, 189, 70, 20, kDisabled, "IDC_UPDATE"),
};

}  // namespace

const DialogTemplate kTemplate104 = {
    104,  "Information", 347, 217,    kDialogFontName, kDialogFontPoints,
    true, false,         0,   "INFO", kInfoControls};

const DialogTemplate kTemplate101 = {
    101,    "Firmware Update", 347, 217, kDialogFontName, kDialogFontPoints, true, false, 0,
    "FWUP", kFirmwareControls};

}  // namespace vornik::res
