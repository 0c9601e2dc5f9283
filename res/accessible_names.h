// What a screen reader says of the controls made from a dialog template: the name each
// control is found by on the desktop's accessibility bus, taken from the texts the window
// shows, so that it speaks the panel's language.
//
// A label names the fields, lists, pickers, arrows and progress bars that follow it in the
// template, up to the next label, button or check box, and the first of them that takes
// the focus becomes its buddy (its mnemonic moves there). A group box names the radio
// buttons after it ("Toll saver Off"), and the field that follows them when no label comes
// between. A value box (a sunken label) is described by the label before it. An image
// button is named by its caption without the blanks that place it beside its icon.
#pragma once

#include <QString>

namespace vornik::res {

class DialogControls;

// Names the controls from their current texts; the builder runs it again after every
// localization.
void NameControls(const DialogControls& controls);

// A caption as a name: without its mnemonic marks ("&&" stands for one "&"), the blanks
// at its ends and a closing colon.
QString AccessibleText(const QString& caption);

}  // namespace vornik::res
