// The Advanced page (123): the device's identity on the fax line, its sounds, language,
// clock, USB speed, power save and toll-saver window.
#include "res/ids_advanced.h"
#include "res/templates.h"
#include "settings/setup_items.h"

namespace vornik::res {
namespace {

using enum ControlKind;
namespace ids = advanced_ids;
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
    Control(kLabel, ids::kMachineNumberLabel, "Machine number:", 6, 12, 64, 8, kAlignRight,
            "IDL_MACHINE_NUMBER"),
    Control(kFilterEdit, ids::kMachineNumber, "", 74, 10, 96, 12),
    Control(kLabel, ids::kMachineIdLabel, "Machine ID:", 6, 30, 64, 8, kAlignRight,
            "IDL_MACHINE_ID"),
    Control(kFilterEdit, ids::kMachineId, "", 74, 28, 96, 12),
    Control(kLabel, ids::kPrefixDialLabel, "Prefix dial:", 6, 48, 64, 8, kAlignRight,
            "IDL_PREFIX_DIAL"),
    Control(kFilterEdit, ids::kPrefixDial, "", 74, 46, 40, 12),
    Control(kLabel, ids::kSpeakerLabel, "Speaker:", 6, 66, 64, 8, kAlignRight, "IDL_SPEAKER"),
    DropList(ids::kSpeaker, 74, 64, 60, 60, kSpeaker, kSpeakerKeys),
    Control(kLabel, ids::kRingerLabel, "Ringer:", 6, 84, 64, 8, kAlignRight, "IDL_RINGER"),
    DropList(ids::kRinger, 74, 82, 60, 70, kRinger, kRingerKeys),
    Control(kGroupBox, ids::kTollSaverFrame, "Toll saver  ", 6, 102, 166, 84, 0, "IDL_TOLL_SAVER"),
    Control(kRadioButton, ids::kTollSaverOff, "Off", 16, 118, 44, 10, kGroupStart,
            "IDC_TOLL_SAVER_OFF"),
    Control(kRadioButton, ids::kTollSaverOn, "On", 70, 118, 44, 10, 0, "IDC_TOLL_SAVER_ON"),
    Control(kLabel, ids::kTollStartLabel, "Start :", 10, 140, 30, 8, kAlignRight, "IDL_START"),
    Control(kDatePicker, ids::kTollStartDate, "", 44, 137, 68, 14),
    Control(kTimePicker, ids::kTollStartTime, "", 115, 137, 52, 14),
    Control(kLabel, ids::kTollEndLabel, "End :", 10, 162, 30, 8, kAlignRight, "IDL_END"),
    Control(kDatePicker, ids::kTollEndDate, "", 44, 159, 68, 14),
    Control(kTimePicker, ids::kTollEndTime, "", 115, 159, 52, 14),

    Control(kLabel, ids::kUsbModeLabel, "USB mode:", 178, 12, 60, 8, kAlignRight, "IDL_USB_MODE"),
    DropList(ids::kUsbMode, 242, 10, 96, 40, kUsbMode, kUsbModeKeys),
    Control(kLabel, ids::kLanguageLabel, "Language:", 178, 30, 60, 8, kAlignRight, "IDL_LANGUAGE"),
    DropList(ids::kLanguage, 242, 28, 96, 100, std::span(kLanguages).first(kTemplateLanguages),
             kLanguageKeys),
    Control(kLabel, ids::kClockModeLabel, "Clock mode:", 178, 48, 60, 8, kAlignRight,
            "IDL_CLOCK_MODE"),
    DropList(ids::kClockMode, 242, 46, 96, 40, kClockMode, kClockModeKeys),
    Control(kGroupBox, ids::kPowerSaveFrame, "Power save ", 178, 64, 160, 46, 0, "IDL_POWER_SAVE"),
    Control(kRadioButton, ids::kPowerSaveOff, "Off", 188, 77, 44, 10, kGroupStart,
            "IDC_POWER_SAVE_OFF"),
    Control(kRadioButton, ids::kPowerSaveOn, "On", 188, 93, 36, 10, 0, "IDC_POWER_SAVE_ON"),
    DropList(ids::kPowerSaveMinutes, 226, 91, 40, 70, kPowerSaveMinutes, {}),
    Control(kLabel, ids::kPowerSaveMinutesUnit, "minutes", 270, 93, 60, 8, 0, "IDL_MINUTES"),
    Control(kCheckBox, ids::kAlarmSound, "Alarm sound", 184, 116, 150, 10, 0, "IDC_ALARM_SOUND"),
    Control(kCheckBox, ids::kKeySound, "Key sound", 184, 130, 150, 10, 0, "IDC_KEY_SOUND"),
    Control(kCheckBox, ids::kStampReceiverName, "Stamp receiver name", 184, 144, 150, 10, 0,
            "IDC_STAMP_RCV_NAME"),
    Control(kCheckBox, ids::kEcmMode, "ECM mode", 184, 158, 150, 10, 0, "IDC_ECM_MODE"),

    Control(kPushButton, ids::kRefresh, "&Refresh", 181, 189, 70, 20, 0, "IDC_REFRESH"),
    Control(kPushButton, ids::kApply, "&Apply", 257, 189, 70, 20, 0, "IDC_APPLY"),
    Control(kLabel, kStatusLine, "", 6, 191, 170, 19),
};

}  // namespace

const DialogTemplate kTemplate123 = {
    123,  "Advanced", 347, 217,        kDialogFontName, kDialogFontPoints,
    true, false,      0,   "ADVANCED", kControls};

}  // namespace vornik::res
