#include "ui/page_command.h"

#include <QApplication>

#include "link/spin_delay.h"
#include "ui/not_responding.h"
#include "ui/window_waits.h"

namespace vornik {

bool RunPageCommand(int (*command)(), QWidget* owner) {
  PageCommandScope running;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool succeeded = command() != 0;
  SpinDelayUntil(kAfterCommandMs);
  QApplication::restoreOverrideCursor();
  if (!succeeded)
    ShowNotResponding(owner);
  return succeeded;
}

}  // namespace vornik
