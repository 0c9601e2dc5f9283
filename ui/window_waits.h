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

// Whether a page command runs now, from its wait cursor until its runner returns. A
// command made of commands (a File menu command that reads the device first) is one.
class PageCommandActivity : public QObject {
  Q_OBJECT

 public:
  bool running() const { return depth_ > 0; }
  void begin() { ++depth_; }
  void end();

 signals:
  // The outermost command ended: the moment for what was asked for meanwhile.
  void ended();

 private:
  int depth_ = 0;
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
