// The main window (102) and the About box (110).
#include "res/ids_about.h"
#include "res/ids_main.h"
#include "res/templates.h"

namespace vornik::res {
namespace {

using enum ControlKind;

constexpr ControlTemplate kMainControls[] = {
    Control(kEtchedLine, kUnnamed, "", 0, 0, 389, 1),
    Control(kImageButton, main_ids::kExit, "  E&xit", 179, 253, 75, 21, 0, "IDC_EXIT"),
    Control(kImageButton, main_ids::kHelp, "  &Help", 272, 253, 75, 21, 0, "IDC_HELP"),
};

// The About box sizes itself and places its button from its picture at initialization.
constexpr ControlTemplate kAboutControls[] = {
    Control(kPushButton, about_ids::kOk, "OK", 125, 226, 50, 14, kDefaultButton, "IDOK"),
};

}  // namespace

const DialogTemplate kTemplate102 = {
    102,    "Remote Control Panel", 389, 278, kDialogFontName, kDialogFontPoints, false, true, 129,
    "MAIN", kMainControls};

const DialogTemplate kTemplate110 = {
    110,   "About", 300, 246,     kDialogFontName, kDialogFontPoints,
    false, false,   0,   "ABOUT", kAboutControls};

}  // namespace vornik::res
