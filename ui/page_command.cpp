#include "ui/page_command.h"

#include <QApplication>

#include "link/spin_delay.h"
#include "ui/not_responding.h"

namespace vornik {

bool RunPageCommand(int (*command)(), QWidget* owner) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool succeeded = command() != 0;
  SpinDelayUntil(kAfterCommandMs);
  QApplication::restoreOverrideCursor();
  if (!succeeded)
    ShowNotResponding(owner);
  return succeeded;
}

}  // namespace vornik
