// The help window: the program's help page, shown at a topic. There is one window for the
// whole program; asking for help again brings it to the front.
#pragma once

#include <QString>

class QWidget;

namespace vornik {

// The help page in the language of the texts (`ChosenLanguage`): the program's name with
// the language's code and the extension ".html" ("vornik.de.html"), in the first of the
// program's data folders that holds it (platform/program_folders.h). The English page, and
// the page for a language without one, is the program's name with ".html" alone.
QString HelpFilePath();

// Shows the help page at topic `context` (an anchor "topic<context>" in the page).
void ShowHelp(QWidget* owner, int context);

// Closes the help window, as the main window does when it goes away.
void QuitHelp();

}  // namespace vornik
