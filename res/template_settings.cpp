// The Settings page (106): paper, reception and redial settings of the device.
#include "res/templates.h"
#include "settings/setup_items.h"

namespace vornik::res {
namespace {

using enum ControlKind;
using namespace setup_items;

constexpr const char* kPaperSizeKeys[] = {"PAPER_SIZE_ITEM_0", "PAPER_SIZE_ITEM_1",
                                          "PAPER_SIZE_ITEM_2"};
// The template's own list has eight items; localization fills all ten, keyed by the
// English words themselves (setup_items::kPaperTypes).
constexpr const char* kTemplatePaperTypes[] = {"Plain paper",   "Bond",    "Transparency",
                                               "Card stock",    "Labels",  "Preprinted",
                                               "Colored paper", "Envelope"};
constexpr const char* kSendConfirmKeys[] = {"SEND_CONFIRM_ITEM_0", "SEND_CONFIRM_ITEM_1",
                                            "SEND_CONFIRM_ITEM_2"};
constexpr const char* kTimeOutKeys[] = {"TIME_OUT_ITEM_0", "TIME_OUT_ITEM_1", "TIME_OUT_ITEM_2",
                                        "TIME_OUT_ITEM_3", "TIME_OUT_ITEM_4"};
constexpr const char* kContrastKeys[] = {"CONTRAST_ITEM_0", "CONTRAST_ITEM_1", "CONTRAST_ITEM_2"};
constexpr const char* kDocModeKeys[] = {"DOC_MODE_ITEM_0", "DOC_MODE_ITEM_1", "DOC_MODE_ITEM_2"};
constexpr const char* kReceiveModeKeys[] = {"RCV_MODE_ITEM_0", "RCV_MODE_ITEM_1"};

constexpr unsigned kHiddenOff = kHidden | kDisabled;

// Left: the lists with their labels, the two check boxes, and the three lists the device
// keeps but the page never shows. Right: the number fields, each with its arrows and unit.
// Bottom: the status line left of Refresh and Apply.
constexpr ControlTemplate kControls[] = {
    Control(kLabel, 1140, "Tray paper size:", 8, 14, 86, 8, kAlignRight, "IDL_TRAY_PAPER_SIZE"),
    DropList(1156, 98, 12, 76, 60, kPaperSizes, kPaperSizeKeys),
    Control(kLabel, 1141, "Bypass paper size:", 8, 32, 86, 8, kAlignRight, "IDL_BYPASS_PAPER_SIZE"),
    DropList(1019, 98, 30, 76, 60, kPaperSizes, kPaperSizeKeys),
    Control(kLabel, 1142, "Paper type:", 8, 50, 86, 8, kAlignRight, "IDL_BYPASS_PAPER_TYPE"),
    DropList(1020, 98, 48, 76, 100, kTemplatePaperTypes, setup_items::kPaperTypes),
    Control(kLabel, 1153, "Sending confirmation:", 8, 68, 86, 8, kAlignRight,
            "IDL_SENDING_CONFIRM"),
    DropList(1018, 98, 66, 76, 60, kSendConfirm, kSendConfirmKeys),
    Control(kLabel, 1155, "Time out (Print):", 8, 86, 86, 8, kAlignRight, "IDL_TIME_OUT"),
    DropList(1081, 98, 84, 76, 80, kPrintTimeOut, kTimeOutKeys),
    Control(kCheckBox, 1056, "Auto journal", 98, 106, 80, 10, 0, "IDC_AUTO_JOURNAL"),
    Control(kCheckBox, 1058, "RX reduction", 98, 120, 80, 10, 0, "IDC_RX_REDUCTION"),

    Control(kLabel, 1143, "Discard size:", 184, 14, 74, 8, kAlignRight, "IDL_DISCARD_SIZE"),
    Control(kEdit, 1021, "", 262, 12, 22, 12, kDigitsOnly),
    Control(kArrowBar, 1096, "", 285, 12, 9, 12),
    Control(kLabel, kUnnamed, "mm", 298, 14, 40, 8),
    Control(kLabel, 1146, "Rings to answer:", 184, 32, 74, 8, kAlignRight, "IDL_RING_COUNT"),
    Control(kEdit, 1023, "", 262, 30, 22, 12, kDigitsOnly),
    Control(kArrowBar, 1097, "", 285, 30, 9, 12),
    Control(kLabel, 1144, "times", 298, 32, 40, 8, 0, "IDL_TIMES"),
    Control(kLabel, 1147, "Redial interval:", 184, 50, 74, 8, kAlignRight, "IDL_REDIAL_INTERVAL"),
    Control(kEdit, 1026, "", 262, 48, 22, 12, kDigitsOnly),
    Control(kArrowBar, 1099, "", 285, 48, 9, 12),
    Control(kLabel, 1116, "minutes", 298, 50, 40, 8, 0, "IDL_MINUTES"),
    Control(kLabel, 1148, "Redial count:", 184, 68, 74, 8, kAlignRight, "IDL_REDIAL_COUNT"),
    Control(kEdit, 1025, "", 262, 66, 22, 12, kDigitsOnly),
    Control(kArrowBar, 1098, "", 285, 66, 9, 12),
    Control(kLabel, 1145, "times", 298, 68, 40, 8, 0, "IDL_TIMES_2"),
    Control(kLabel, 1149, "Zoom:", 184, 86, 74, 8, kAlignRight, "IDL_ZOOM"),
    Control(kEdit, 1028, "", 262, 84, 22, 12, kDigitsOnly),
    Control(kArrowBar, 1100, "", 285, 84, 9, 12),
    Control(kLabel, kUnnamed, "%", 298, 86, 40, 8),
    Control(kLabel, 1150, "Copies:", 184, 104, 74, 8, kAlignRight, "IDL_COPIES"),
    Control(kEdit, 1001, "", 262, 102, 22, 12, kDigitsOnly),
    Control(kArrowBar, 1102, "", 285, 102, 9, 12),

    Control(kLabel, 1151, "Contrast:", 8, 150, 86, 8, kAlignRight | kHiddenOff, "IDL_CONTRAST"),
    DropList(1024, 98, 148, 76, 60, kContrast, kContrastKeys, kHiddenOff),
    Control(kLabel, 1152, "Document mode:", 8, 168, 86, 8, kAlignRight | kHiddenOff,
            "IDL_DOCUMENT_MODE"),
    DropList(1027, 98, 166, 76, 60, kDocumentMode, kDocModeKeys, kHiddenOff),
    Control(kLabel, 1154, "Receive mode:", 8, 186, 86, 8, kAlignRight | kHiddenOff,
            "IDL_RECEIVE_MODE"),
    DropList(1022, 98, 184, 76, 60, kReceiveMode, kReceiveModeKeys, kHiddenOff),

    Control(kPushButton, 1060, "&Refresh", 181, 189, 70, 20, 0, "IDC_REFRESH"),
    Control(kPushButton, 1063, "&Apply", 257, 189, 70, 20, 0, "IDC_APPLY"),
    Control(kLabel, kStatusLine, "", 8, 191, 168, 19),
};

}  // namespace

const DialogTemplate kTemplate106 = {
    106,  "Settings", 347, 217,        kDialogFontName, kDialogFontPoints,
    true, false,      0,   "SETTINGS", kControls};

}  // namespace vornik::res
