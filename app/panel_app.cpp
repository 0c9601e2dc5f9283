#include "app/panel_app.h"

#include <QMessageBox>

#include "app/main_panel.h"
#include "app/single_instance.h"
#include "lang/lang_text.h"
#include "res/string_table.h"

namespace vornik {
namespace {

QString AppTitle() {
  return QString::fromLatin1(res::StringResource(res::kStrAppTitle));
}

}  // namespace

PanelApp::PanelApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The desktop matches the window to its menu entry and icon by this name.
  setDesktopFileName(QStringLiteral(VORNIK_APP_ID));
}

bool PanelApp::StartUp() {
  return RunStartUp(*this);
}

int PanelApp::CleanUp() {
  RunCleanUp();
  return 0;
}

bool PanelApp::raiseRunningCopy() {
  return RaiseRunningCopy(AppTitle());
}

void PanelApp::showPortBusy() {
  QMessageBox::critical(nullptr, AppTitle(),
                        QString::fromLatin1(res::StringResource(res::kStrPortBusy)));
}

StartUpWindows::Choice PanelApp::askNotResponding() {
  const auto button = QMessageBox::critical(
      nullptr, AppTitle(), QString::fromLatin1(res::StringResource(res::kStrNotResponding)),
      QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort);
  if (button == QMessageBox::Retry)
    return Choice::kRetry;
  if (button == QMessageBox::Ignore)
    return Choice::kIgnore;
  return Choice::kAbort;
}

void PanelApp::beginWaitCursor() {
  setOverrideCursor(Qt::WaitCursor);
  processEvents();  // the cursor shows before the device blocks the window
}

void PanelApp::endWaitCursor() {
  restoreOverrideCursor();
}

void PanelApp::chooseLanguageFile() {
  ChooseLanguageFile();
}

void PanelApp::runMainWindow() {
  CMainPanel panel;
  RunningCopyBeacon beacon(&panel, panel.windowTitle());
  panel.exec();
}

}  // namespace vornik
