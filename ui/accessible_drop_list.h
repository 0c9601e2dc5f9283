// What the accessibility bus says of a drop-down list (QComboBox): its name is its
// accessible name, the label's text (res/accessible_names.h); its value is the chosen
// item. Qt on Linux names a drop-down list by its chosen item, so a screen reader would
// say "Letter" for the tray paper size; this interface takes its place.
#pragma once

namespace vornik {

// Makes every drop-down list created from now on use the interface; only the first call
// does anything.
void UseAccessibleDropLists();

}  // namespace vornik
