// The boxes in which the panel asks before it acts, and tells what an act left undone.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vornik {

// Asks `text` in a modal box owned by `owner`, with the panel's caption ("MAIN"/"CAPTION"),
// the question icon and one button for each of `answers` (their texts, in order). The first
// answer is the default button (Enter); the last is what Escape and the close box give.
// `name` is the box's object name, by which tests and the accessibility tree find it.
// Returns the index of the answer chosen.
int AskUser(QWidget* owner, const char* name, const QString& text, const QStringList& answers);

// Tells `text` in a modal box with the panel's caption, the information icon and one OK
// button.
void TellUser(QWidget* owner, const QString& text);

}  // namespace vornik
