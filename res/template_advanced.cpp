// The Advanced page (123): the device's identity on the fax line, its sounds, language,
// clock, USB speed, power save and toll-saver window.
#include "res/templates.h"
#include "settings/setup_items.h"

namespace vornik::res {
namespace {

using enum ControlKind;
using namespace setup_items;

constexpr const char* kSpeakerKeys[] = {"SPEAKER_ITEM_0", "SPEAKER_ITEM_1", "SPEAKER_ITEM_2"};
constexpr const char* kRingerKeys[] = {"RINGER_ITEM_0", "RINGER_ITEM_1", "RINGER_ITEM_2",
                                       "RINGER_ITEM_3"};
constexpr const char* kUsbModeKeys[] = {"USB_MODE_ITEM_0", "USB_MODE_ITEM_1"};
constexpr const char* kLanguageKeys[] = {"LANGUAGE_ITEM_0", "LANGUAGE_ITEM_1", "LANGUAGE_ITEM_2",
                                         "LANGUAGE_ITEM_3", "LANGUAGE_ITEM_4", "LANGUAGE_ITEM_5",
                                         "LANGUAGE_ITEM_6", "LANGUAGE_ITEM_7"};
constexpr const char* kClockModeKeys[] = {"CLOCK_MODE_ITEM_0", "CLOCK_MODE_ITEM_1"};

// Left: the three edits, Speaker, Ringer and the toll-saver frame. Right: USB mode,
// Language, Clock mode, the power-save frame (minutes beside its On button) and the four
// check boxes; Refresh and Apply bottom right, the status line left of them.
constexpr ControlTemplate kControls[] = {
    Control(kLabel, 1107, "Machine number:", 6, 12, 64, 8, kAlignRight, "IDL_MACHINE_NUMBER"),
    Control(kFilterEdit, 1088, "", 74, 10, 96, 12),
    Control(kLabel, 1108, "Machine ID:", 6, 30, 64, 8, kAlignRight, "IDL_MACHINE_ID"),
    Control(kFilterEdit, 1089, "", 74, 28, 96, 12),
    Control(kLabel, 1109, "Prefix dial:", 6, 48, 64, 8, kAlignRight, "IDL_PREFIX_DIAL"),
    Control(kFilterEdit, 1001, "", 74, 46, 40, 12),
    Control(kLabel, 1110, "Speaker:", 6, 66, 64, 8, kAlignRight, "IDL_SPEAKER"),
    DropList(1061, 74, 64, 60, 60, kSpeaker, kSpeakerKeys),
    Control(kLabel, 1111, "Ringer:", 6, 84, 64, 8, kAlignRight, "IDL_RINGER"),
    DropList(1062, 74, 82, 60, 70, kRinger, kRingerKeys),
    Control(kGroupBox, 1117, "Toll saver  ", 6, 102, 166, 84, 0, "IDL_TOLL_SAVER"),
    Control(kRadioButton, 1004, "Off", 16, 118, 44, 10, kGroupStart, "IDC_TOLL_SAVER_OFF"),
    Control(kRadioButton, 1005, "On", 70, 118, 44, 10, 0, "IDC_TOLL_SAVER_ON"),
    Control(kLabel, 1118, "Start :", 10, 140, 30, 8, kAlignRight, "IDL_START"),
    Control(kDatePicker, 1104, "", 44, 137, 68, 14),
    Control(kTimePicker, 1101, "", 115, 137, 52, 14),
    Control(kLabel, 1119, "End :", 10, 162, 30, 8, kAlignRight, "IDL_END"),
    Control(kDatePicker, 1105, "", 44, 159, 68, 14),
    Control(kTimePicker, 1102, "", 115, 159, 52, 14),

    Control(kLabel, 1112, "USB mode:", 178, 12, 60, 8, kAlignRight, "IDL_USB_MODE"),
    DropList(1057, 242, 10, 96, 40, kUsbMode, kUsbModeKeys),
    Control(kLabel, 1113, "Language:", 178, 30, 60, 8, kAlignRight, "IDL_LANGUAGE"),
    DropList(1058, 242, 28, 96, 100, std::span(kLanguages).first(kTemplateLanguages),
             kLanguageKeys),
    Control(kLabel, 1114, "Clock mode:", 178, 48, 60, 8, kAlignRight, "IDL_CLOCK_MODE"),
    DropList(1053, 242, 46, 96, 40, kClockMode, kClockModeKeys),
    Control(kGroupBox, 1115, "Power save ", 178, 64, 160, 46, 0, "IDL_POWER_SAVE"),
    Control(kRadioButton, 1002, "Off", 188, 77, 44, 10, kGroupStart, "IDC_POWER_SAVE_OFF"),
    Control(kRadioButton, 1003, "On", 188, 93, 36, 10, 0, "IDC_POWER_SAVE_ON"),
    {1000, kDropList, "", 226, 91, 40, 70, 0, nullptr, kPowerSaveMinutes, {}},
    Control(kLabel, 1116, "minutes", 270, 93, 60, 8, 0, "IDL_MINUTES"),
    Control(kCheckBox, 1051, "Alarm sound", 184, 116, 150, 10, 0, "IDC_ALARM_SOUND"),
    Control(kCheckBox, 1052, "Key sound", 184, 130, 150, 10, 0, "IDC_KEY_SOUND"),
    Control(kCheckBox, 1106, "Stamp receiver name", 184, 144, 150, 10, 0, "IDC_STAMP_RCV_NAME"),
    Control(kCheckBox, 1028, "ECM mode", 184, 158, 150, 10, 0, "IDC_ECM_MODE"),

    Control(kPushButton, 1060, "&Refresh", 181, 189, 70, 20, 0, "IDC_REFRESH"),
    Control(kPushButton, 1063, "&Apply", 257, 189, 70, 20, 0, "IDC_APPLY"),
    Control(kLabel, kStatusLine, "", 6, 191, 170, 19),
};

}  // namespace

const DialogTemplate kTemplate123 = {
    123,  "Advanced", 347, 217,        kDialogFontName, kDialogFontPoints,
    true, false,      0,   "ADVANCED", kControls};

}  // namespace vornik::res
