// The Settings page (106): paper, reception and redial settings of the device.
#include "res/ids_settings.h"
#include "res/templates.h"
#include "settings/setup_items.h"

namespace vornik::res {
namespace {

using enum ControlKind;
namespace ids = settings_ids;
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
    Control(kLabel, ids::kTrayPaperSizeLabel, "Tray paper size:", 8, 14, 86, 8, kAlignRight,
            "IDL_TRAY_PAPER_SIZE"),
    DropList(ids::kTrayPaperSize, 98, 12, 76, 60, kPaperSizes, kPaperSizeKeys),
    Control(kLabel, ids::kBypassPaperSizeLabel, "Bypass paper size:", 8, 32, 86, 8, kAlignRight,
            "IDL_BYPASS_PAPER_SIZE"),
    DropList(ids::kBypassPaperSize, 98, 30, 76, 60, kPaperSizes, kPaperSizeKeys),
    Control(kLabel, ids::kPaperTypeLabel, "Paper type:", 8, 50, 86, 8, kAlignRight,
            "IDL_BYPASS_PAPER_TYPE"),
    DropList(ids::kPaperType, 98, 48, 76, 100, kTemplatePaperTypes, setup_items::kPaperTypes),
    Control(kLabel, ids::kSendConfirmLabel, "Sending confirmation:", 8, 68, 86, 8, kAlignRight,
            "IDL_SENDING_CONFIRM"),
    DropList(ids::kSendConfirm, 98, 66, 76, 60, kSendConfirm, kSendConfirmKeys),
    Control(kLabel, ids::kPrintTimeOutLabel, "Time out (Print):", 8, 86, 86, 8, kAlignRight,
            "IDL_TIME_OUT"),
    DropList(ids::kPrintTimeOut, 98, 84, 76, 80, kPrintTimeOut, kTimeOutKeys),
    Control(kCheckBox, ids::kAutoJournal, "Auto journal", 98, 106, 80, 10, 0, "IDC_AUTO_JOURNAL"),
    Control(kCheckBox, ids::kRxReduction, "RX reduction", 98, 120, 80, 10, 0, "IDC_RX_REDUCTION"),

    Control(kLabel, ids::kDiscardSizeLabel, "Discard size:", 184, 14, 74, 8, kAlignRight,
            "IDL_DISCARD_SIZE"),
    Control(kEdit, ids::kDiscardSize, "", 262, 12, 22, 12, kDigitsOnly),
    Control(kArrowBar, ids::kDiscardSizeArrows, "", 285, 12, 9, 12),
    Control(kLabel, ids::kDiscardSizeUnit, "mm", 298, 14, 40, 8),
    Control(kLabel, ids::kRingCountLabel, "Rings to answer:", 184, 32, 74, 8, kAlignRight,
            "IDL_RING_COUNT"),
    Control(kEdit, ids::kRingCount, "", 262, 30, 22, 12, kDigitsOnly),
    Control(kArrowBar, ids::kRingCountArrows, "", 285, 30, 9, 12),
    Control(kLabel, ids::kRingCountUnit, "times", 298, 32, 40, 8, 0, "IDL_TIMES"),
    Control(kLabel, ids::kRedialIntervalLabel, "Redial interval:", 184, 50, 74, 8, kAlignRight,
            "IDL_REDIAL_INTERVAL"),
    Control(kEdit, ids::kRedialInterval, "", 262, 48, 22, 12, kDigitsOnly),
    Control(kArrowBar, ids::kRedialIntervalArrows, "", 285, 48, 9, 12),
    Control(kLabel, ids::kRedialIntervalUnit, "minutes", 298, 50, 40, 8, 0, "IDL_MINUTES"),
    Control(kLabel, ids::kRedialCountLabel, "Redial count:", 184, 68, 74, 8, kAlignRight,
            "IDL_REDIAL_COUNT"),
    Control(kEdit, ids::kRedialCount, "", 262, 66, 22, 12, kDigitsOnly),
    Control(kArrowBar, ids::kRedialCountArrows, "", 285, 66, 9, 12),
    Control(kLabel, ids::kRedialCountUnit, "times", 298, 68, 40, 8, 0, "IDL_TIMES_2"),
    Control(kLabel, ids::kZoomLabel, "Zoom:", 184, 86, 74, 8, kAlignRight, "IDL_ZOOM"),
    Control(kEdit, ids::kZoom, "", 262, 84, 22, 12, kDigitsOnly),
    Control(kArrowBar, ids::kZoomArrows, "", 285, 84, 9, 12),
    Control(kLabel, ids::kZoomUnit, "%", 298, 86, 40, 8),
    Control(kLabel, ids::kCopiesLabel, "Copies:", 184, 104, 74, 8, kAlignRight, "IDL_COPIES"),
    Control(kEdit, ids::kCopies, "", 262, 102, 22, 12, kDigitsOnly),
    Control(kArrowBar, ids::kCopiesArrows, "", 285, 102, 9, 12),

    Control(kLabel, ids::kContrastLabel, "Contrast:", 8, 150, 86, 8, kAlignRight | kHiddenOff,
            "IDL_CONTRAST"),
    DropList(ids::kContrast, 98, 148, 76, 60, kContrast, kContrastKeys, kHiddenOff),
    Control(kLabel, ids::kDocumentModeLabel, "Document mode:", 8, 168, 86, 8,
            kAlignRight | kHiddenOff, "IDL_DOCUMENT_MODE"),
    DropList(ids::kDocumentMode, 98, 166, 76, 60, kDocumentMode, kDocModeKeys, kHiddenOff),
    Control(kLabel, ids::kReceiveModeLabel, "Receive mode:", 8, 186, 86, 8,
            kAlignRight | kHiddenOff, "IDL_RECEIVE_MODE"),
    DropList(ids::kReceiveMode, 98, 184, 76, 60, kReceiveMode, kReceiveModeKeys, kHiddenOff),

    Control(kPushButton, ids::kRefresh, "&Refresh", 181, 189, 70, 20, 0, "IDC_REFRESH"),
    Control(kPushButton, ids::kApply, "&Apply", 257, 189, 70, 20, 0, "IDC_APPLY"),
    Control(kLabel, kStatusLine, "", 8, 191, 168, 19),
};

}  // namespace

const DialogTemplate kTemplate106 = {
    106,  "Settings", 347, 217,        kDialogFontName, kDialogFontPoints,
    true, false,      0,   "SETTINGS", kControls};

}  // namespace vornik::res
