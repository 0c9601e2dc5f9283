// The shared not-responding box that a page shows after a device command failed.
#pragma once

class QWidget;

namespace vornik {

// Shows the localized message ("COMMON"/"IDS_NOT_RESPOND") with the main window's caption
// ("MAIN"/"CAPTION"), the error icon and one OK button, modally, owned by `owner` (the
// main window; when null, the application's active window). Returns the box's result,
// which callers ignore.
int ShowNotResponding(QWidget* owner = nullptr);

}  // namespace vornik
