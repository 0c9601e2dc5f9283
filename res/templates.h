// The dialog templates of the program, by resource id.
#pragma once

#include "res/dialog_template.h"

namespace vornik::res {

extern const DialogTemplate kTemplate101;  // Firmware Update page
extern const DialogTemplate kTemplate102;  // main window
extern const DialogTemplate kTemplate104;  // Information page
extern const DialogTemplate kTemplate106;  // Settings page
extern const DialogTemplate kTemplate110;  // About box
extern const DialogTemplate kTemplate112;  // phonebook entry dialog
extern const DialogTemplate kTemplate115;  // Phonebook page
extern const DialogTemplate kTemplate123;  // Advanced page
extern const DialogTemplate kTemplate143;  // group dial dialog

// Every template above; null from `FindTemplate` for an id that has none.
std::span<const DialogTemplate* const> AllTemplates();
const DialogTemplate* FindTemplate(int id);

// The line of a page (Settings, Advanced, Phonebook) that says what last succeeded, and when.
inline constexpr int kStatusLine = 1190;

// The dialog font of every template.
inline constexpr const char* kDialogFontName = "MS Sans Serif";
inline constexpr int kDialogFontPoints = 8;

}  // namespace vornik::res
