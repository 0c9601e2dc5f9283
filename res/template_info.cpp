// The Information page (104) and the Firmware Update page (101).
#include "res/ids_firmware.h"
#include "res/ids_info.h"
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
    Control(kLabel, info_ids::kFirmwareVersionLabel, "Firmware version:", 14, 22, 92, 8,
            kAlignRight, "IDL_FW_VERSION"),
    Control(kLabel, info_ids::kFirmwareVersion, "1.00", 110, 20, 62, 12, kValueText),
    Control(kLabel, info_ids::kEngineVersionLabel, "Engine Version:", 178, 22, 84, 8, kAlignRight,
            "IDL_ENGINE_VERSION"),
    Control(kLabel, info_ids::kEngineVersion, "V1.0.0", 266, 20, 62, 12, kValueText),
    Control(kLabel, info_ids::kEmulationVersionLabel, "Emulation version:", 14, 42, 92, 8,
            kAlignRight, "IDL_EMUL_VERSION"),
    Control(kLabel, info_ids::kEmulationVersion, "MARV 1.15 12-17-2002", 110, 40, 218, 12,
            kValueText),
    Control(kLabel, info_ids::kFreeMemoryLabel, "Free memory:", 14, 62, 92, 8, kAlignRight,
            "IDL_FREE_MEMORY"),
    Control(kLabel, info_ids::kFreeMemory, " 100 % ", 110, 60, 62, 12, kValueNumber),
    Control(kLabel, info_ids::kAdfScanCountLabel, "ADF scan count:", 178, 62, 84, 8, kAlignRight,
            "IDL_ADF_SCAN_COUNT"),
    Control(kLabel, info_ids::kAdfScanCount, "0", 266, 60, 62, 12, kValueNumber),
    Control(kLabel, info_ids::kPrintCountLabel, "Print count:", 14, 82, 92, 8, kAlignRight,
            "IDL_PRINT_COUNT"),
    Control(kLabel, info_ids::kPrintCount, "0", 110, 80, 62, 12, kValueNumber),
    Control(kLabel, info_ids::kPlatenScanCountLabel, "Platen scan count:", 178, 82, 84, 8,
            kAlignRight, "IDL_PLATEN_SCAN_COUNT"),
    Control(kLabel, info_ids::kPlatenScanCount, "0", 266, 80, 62, 12, kValueNumber),
    Control(kLabel, info_ids::kAdfJamCountLabel, "ADF jam count:", 14, 102, 92, 8, kAlignRight,
            "IDL_ADF_JAM_COUNT"),
    Control(kLabel, info_ids::kAdfJamCount, "0", 110, 100, 62, 12, kValueNumber),
    Control(kLabel, info_ids::kPrintJamCountLabel, "Print jam count:", 178, 102, 84, 8, kAlignRight,
            "IDL_PRINT_JAM_COUNT"),
    Control(kLabel, info_ids::kPrintJamCount, "0", 266, 100, 62, 12, kValueNumber),
    Control(kLabel, info_ids::kTonerCountLabel, "Replaced toner count:", 14, 122, 92, 8,
            kAlignRight, "IDL_TONER_COUNT"),
    Control(kLabel, info_ids::kTonerCount, "0", 110, 120, 62, 12, kValueNumber),
    Control(kPushButton, info_ids::kRefresh, "Refresh", 257, 189, 70, 20, 0, "IDC_REFRESH"),
};

constexpr ControlTemplate kFirmwareControls[] = {
    Control(kGroupBox, firmware_ids::kFileFrame, "File information", 15, 11, 316, 75, 0,
            "IDL_FILE_INFORMATION"),
    Control(kLabel, firmware_ids::kFileNameLabel, "File name:", 26, 37, 78, 8, kAlignRight,
            "IDL_FILE_NAME"),
    Control(kLabel, firmware_ids::kFilePath, "...", 110, 34, 140, 12, kValueText),
    Control(kPushButton, firmware_ids::kBrowse, "Browse...", 258, 31, 65, 16, 0, "IDC_BROWSE"),
    Control(kLabel, firmware_ids::kFileSizeLabel, "File size:", 26, 61, 78, 8, kAlignRight,
            "IDL_FILE_SIZE"),
    Control(kLabel, firmware_ids::kFileSize, "0 bytes", 110, 59, 73, 12, kValueText),
    Control(kGroupBox, firmware_ids::kProgressFrame, "Progress", 15, 101, 314, 69, 0,
            "IDL_PROGRESS"),
    Control(kProgressBar, firmware_ids::kProgressBar, "", 45, 117, 226, 18),
    Control(kLabel, firmware_ids::kPercent, "0 %", 280, 122, 29, 8, kAlignCenter),
    Control(kLabel, firmware_ids::kMessageLabel, "Message:", 19, 148, 67, 8, kAlignRight,
            "IDL_MESSAGE"),
    Control(kLabel, firmware_ids::kMessage, "Static", 91, 146, 217, 13, kValueText),
    Control(kPushButton, firmware_ids::kUpdate, "Update", 257, 189, 70, 20, kDisabled,
            "IDC_UPDATE"),
};

}  // namespace

const DialogTemplate kTemplate104 = {
    104,  "Information", 347, 217,    kDialogFontName, kDialogFontPoints,
    true, false,         0,   "INFO", kInfoControls};

const DialogTemplate kTemplate101 = {
    101,    "Firmware Update", 347, 217, kDialogFontName, kDialogFontPoints, true, false, 0,
    "FWUP", kFirmwareControls};

}  // namespace vornik::res
