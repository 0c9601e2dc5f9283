// The Phonebook page (115), the entry dialog (112) and the group dial dialog (143).
#include "res/ids_entry.h"
#include "res/ids_group_dial.h"
#include "res/ids_phonebook.h"
#include "res/templates.h"

namespace vornik::res {
namespace {

using enum ControlKind;

// Template order is the tab order: the type, Read and Write, the list, then the buttons
// beneath it, as they read from top to bottom, and the status line below them.
constexpr ControlTemplate kPageControls[] = {
    Control(kGroupBox, phonebook_ids::kTypeFrame, "Type", 5, 4, 196, 43, 0, "IDL_TYPE"),
    // The one-touch type is never shown: the device has no one-touch dials.
    Control(kRadioButton, phonebook_ids::kOneTouchType, " One touch dial ( 1 ~ 40 )", 25, 17, 98,
            10, kGroupStart | kHidden | kDisabled, "IDC_ONETOUCH_DIAL"),
    Control(kRadioButton, phonebook_ids::kSpeedDialType, " Speed dial ( 0 ~ 90 )", 25, 23, 165, 10,
            0, "IDC_SPEED_DIAL_2"),
    Control(kPushButton, phonebook_ids::kRead, "Read", 234, 9, 82, 16, 0, "IDC_GET_PHONEBOOK"),
    Control(kPushButton, phonebook_ids::kWrite, "Write", 234, 30, 82, 16, 0, "IDC_SEND_PHONEBOOK"),
    Control(kListView, phonebook_ids::kEntryList, "", 6, 51, 329, 121),
    Control(kPushButton, phonebook_ids::kEdit, "&Edit", 8, 182, 73, 18, 0, "IDC_EDIT"),
    Control(kPushButton, phonebook_ids::kDelete, "&Delete", 90, 182, 73, 18, 0, "IDC_DELETE"),
    Control(kPushButton, phonebook_ids::kDeleteAll, "Delete &All", 172, 182, 73, 18, 0,
            "IDC_DELETE_ALL"),
    Control(kPushButton, phonebook_ids::kGroupDial, "&Group dial...", 254, 182, 79, 18, 0,
            "IDC_GROUP_DIAL"),
    Control(kLabel, kStatusLine, "", 8, 203, 327, 12),
};

constexpr ControlTemplate kEntryControls[] = {
    Control(kGroupBox, kUnnamed, "", 11, 9, 266, 68),
    Control(kLabel, entry_ids::kNameLabel, "Name:", 18, 24, 30, 8, 0, "IDL_NAME"),
    Control(kFilterEdit, entry_ids::kName, "", 78, 24, 110, 13),
    Control(kLabel, entry_ids::kNumberLabel, "Phone Number:", 18, 51, 56, 19, 0,
            "IDL_PHONE_NUMBER"),
    Control(kFilterEdit, entry_ids::kNumber, "", 78, 50, 190, 13),
    Control(kImageButton, entry_ids::kOk, "OK", 49, 81, 85, 24, kDefaultButton, "IDOK"),
    Control(kImageButton, entry_ids::kCancel, "Cancel", 152, 81, 85, 24, 0, "IDCANCEL"),
};

constexpr const char* kDialTypes[] = {"One touch dial", "Speed dial"};

// Remove and Add come before the two lists in the tab order: they stand above them.
constexpr ControlTemplate kGroupControls[] = {
    Control(kGroupBox, kUnnamed, "", 4, 2, 305, 202),
    Control(kLabel, group_dial_ids::kNameLabel, "Name:", 13, 20, 30, 8, 0, "IDL_NAME"),
    Control(kFilterEdit, group_dial_ids::kName, "", 73, 20, 110, 13, kUpperCase),
    Control(kLabel, kUnnamed, "Type:", 220, 32, 33, 8, kHidden | kDisabled),
    DropList(group_dial_ids::kTypeList, 202, 15, 97, 79, kDialTypes, {}, kHidden | kDisabled),
    Control(kPushButton, group_dial_ids::kRemove, "Remove (>>)", 91, 48, 59, 16, 0, "IDC_REMOVE"),
    Control(kPushButton, group_dial_ids::kAdd, "Add (<<)", 164, 48, 60, 16, 0, "IDC_ADD"),
    Control(kLabel, group_dial_ids::kIncludedLabel, "Included numbers:", 13, 50, 73, 17, 0,
            "IDL_I_NUMBER"),
    Control(kListView, group_dial_ids::kIncludedList, "", 13, 69, 137, 125, kMultiSelect),
    Control(kLabel, group_dial_ids::kAvailableLabel, "Available numbers:", 227, 51, 72, 16,
            kAlignRight, "IDL_A_NUMBER"),
    Control(kListView, group_dial_ids::kAvailableList, "", 165, 69, 134, 125, kMultiSelect),
    Control(kImageButton, group_dial_ids::kOk, "OK", 65, 211, 84, 24, kDefaultButton, "IDOK"),
    Control(kImageButton, group_dial_ids::kCancel, "Cancel", 165, 211, 84, 24, 0, "IDCANCEL"),
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
