// The Phonebook page (115), the entry dialog (112) and the group dial dialog (143).
#include "res/templates.h"

namespace vornik::res {
namespace {

using enum ControlKind;

// The status line stands below the row of buttons.
constexpr ControlTemplate kPageControls[] = {
    Control(kGroupBox, 1129, "Type", 5, 4, 196, 43, 0, "IDL_TYPE"),
    // The one-touch type is never shown: the device has no one-touch dials.
    Control(kRadioButton, 1034, " One touch dial ( 1 ~ 40 )", 25, 17, 98, 10,
            kGroupStart | kHidden | kDisabled, "IDC_ONETOUCH_DIAL"),
    Control(kRadioButton, 1035, " Speed dial ( 0 ~ 90 )", 25, 23, 165, 10, 0, "IDC_SPEED_DIAL_2"),
    Control(kListView, 1027, "", 6, 51, 329, 121),
    Control(kPushButton, 1032, "Read", 234, 9, 82, 16, 0, "IDC_GET_PHONEBOOK"),
    Control(kPushButton, 1024, "Write", 234, 30, 82, 16, 0, "IDC_SEND_PHONEBOOK"),
    Control(kPushButton, 1025, "&Edit", 8, 182, 73, 18, 0, "IDC_EDIT"),
    Control(kPushButton, 1026, "&Delete", 90, 182, 73, 18, 0, "IDC_DELETE"),
    Control(kPushButton, 1031, "Delete &All", 172, 182, 73, 18, 0, "IDC_DELETE_ALL"),
    Control(kPushButton, 1023, "&Group dial...", 254, 182, 79, 18, 0, "IDC_GROUP_DIAL"),
    Control(kLabel, kStatusLine, "", 8, 203, 327, 12),
};

constexpr ControlTemplate kEntryControls[] = {
    Control(kGroupBox, kUnnamed, "", 11, 9, 266, 68),
    Control(kLabel, 1120, "Name:", 18, 24, 30, 8, 0, "IDL_NAME"),
    Control(kFilterEdit, 1002, "", 78, 24, 110, 13),
    Control(kLabel, 1121, "Phone Number:", 18, 51, 56, 19, 0, "IDL_PHONE_NUMBER"),
    Control(kFilterEdit, 1001, "", 78, 50, 190, 13),
    Control(kImageButton, 1, "OK", 49, 81, 85, 24, kDefaultButton, "IDOK"),
    Control(kImageButton, 2, "Cancel", 152, 81, 85, 24, 0, "IDCANCEL"),
};

constexpr const char* kDialTypes[] = {"One touch dial", "Speed dial"};

constexpr ControlTemplate kGroupControls[] = {
    Control(kGroupBox, kUnnamed, "", 4, 2, 305, 202),
    Control(kLabel, 1120, "Name:", 13, 20, 30, 8, 0, "IDL_NAME"),
    Control(kFilterEdit, 1002, "", 73, 20, 110, 13, kUpperCase),
    Control(kLabel, kUnnamed, "Type:", 220, 32, 33, 8, kHidden | kDisabled),
    {1000, kDropList, "", 202, 15, 97, 79, kHidden | kDisabled, nullptr, kDialTypes, {}},
    Control(kLabel, 1157, "Included numbers:", 13, 50, 73, 17, 0, "IDL_I_NUMBER"),
    Control(kPushButton, 1024, "Remove (>>)", 91, 48, 59, 16, 0, "IDC_REMOVE"),
    Control(kListView, 1027, "", 13, 69, 137, 125, kMultiSelect),
    Control(kPushButton, 1023, "Add (<<)", 164, 48, 60, 16, 0, "IDC_ADD"),
    Control(kLabel, 1158, "Available numbers:", 227, 51, 72, 16, kAlignRight, "IDL_A_NUMBER"),
    Control(kListView, 1028, "", 165, 69, 134, 125, kMultiSelect),
    Control(kImageButton, 1, "OK", 65, 211, 84, 24, kDefaultButton, "IDOK"),
    Control(kImageButton, 2, "Cancel", 165, 211, 84, 24, 0, "IDCANCEL"),
};

}  // namespace

const DialogTemplate kTemplate115 = {
    115,  "Phonebook", 347, 217,         kDialogFontName, kDialogFontPoints,
    true, false,       0,   "PHONEBOOK", kPageControls};

// The entry dialog has no title of its own: it comes from the language file.
const DialogTemplate kTemplate112 = {112,
                                     "",
                                     287,
                                     108,
                                     kDialogFontName,
                                     kDialogFontPoints,
                                     false,
                                     false,
                                     0,
                                     "EDIT_PHONEBOOK",
                                     kEntryControls};

const DialogTemplate kTemplate143 = {
    143,   "Group dial", 314, 242,          kDialogFontName, kDialogFontPoints,
    false, false,        0,   "GROUP_DIAL", kGroupControls};

}  // namespace vornik::res
