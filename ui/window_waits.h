// How the window lives through a device command: it keeps answering its desktop while
// the command waits, and a window that must not close halfway through a transfer learns
// when the command ends.
#pragma once

#include <QObject>

namespace vornik {

// The wait hook of the window side: paints and answers the window system and the
// accessibility bus, and runs timers and sockets, but holds back the user's input until
// the command ends.
void AnswerDesktop();

// Whether a page command runs now, from its wait cursor until its runner returns.
class PageCommandActivity : public QObject {
  Q_OBJECT

 public:
  bool running() const { return running_; }
  void begin() { running_ = true; }
  void end();

 signals:
  // The command ended: the moment for what was asked for meanwhile.
  void ended();

 private:
  bool running_ = false;
};

PageCommandActivity& PageCommands();

// Counts a page command as running for the scope's lifetime.
class PageCommandScope {
 public:
  PageCommandScope() { PageCommands().begin(); }
  ~PageCommandScope() { PageCommands().end(); }
  PageCommandScope(const PageCommandScope&) = delete;
  PageCommandScope& operator=(const PageCommandScope&) = delete;
};

}  // namespace vornik
