#include "app/panel_app.h"

#include <QMessageBox>

#include "app/main_panel.h"
#include "app/port_chooser.h"
#include "lang/lang_text.h"
#include "platform/platform.h"
#include "res/string_table.h"
#include "ui/lang_string.h"
#include "ui/qt_language.h"
#include "ui/window_waits.h"

namespace vornik {
namespace {

QString AppTitle() {
  return QString::fromLatin1(res::StringResource(res::kStrAppTitle));
}

}  // namespace

PanelApp::PanelApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The desktop matches the window to its menu entry and icon by this name.
  setDesktopFileName(QStringLiteral(VORNIK_APP_ID));
  // Every wait of a device command, from start-up's inquiry on, keeps the windows painted
  // and answering the desktop.
  platform::Services().waitHook = AnswerDesktop;
}

bool PanelApp::StartUp() {
  outcome_ = RunStartUp(*this);
  return false;
}

int PanelApp::CleanUp() {
  RunCleanUp();
  beacon_.reset();
  return ExitStatus(outcome_);
}

bool PanelApp::raiseRunningCopy() {
  if (RaiseRunningCopy(AppTitle()))
    return true;
  // Published before any box, so a second start during the start-up boxes raises them.
  beacon_ = std::make_unique<RunningCopyBeacon>(AppTitle());
  return false;
}

void PanelApp::showPortBusy() {
  QMessageBox::critical(nullptr, AppTitle(),
                        QString::fromLatin1(res::StringResource(res::kStrPortBusy)));
}

StartUpWindows::Choice AskNotResponding(const std::string& deniedPort) {
  QString text = QString::fromLatin1(res::StringResource(res::kStrNotResponding));
  if (!deniedPort.empty()) {
    if (const QString denied = LangString("COMMON", "IDS_PORT_DENIED"); !denied.isEmpty())
      text = denied;
    text += QStringLiteral("\n\n") + QString::fromLocal8Bit(deniedPort.c_str());
  }
  const auto button = QMessageBox::critical(
      nullptr, AppTitle(), text, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
      QMessageBox::Abort);
  if (button == QMessageBox::Retry)
    return StartUpWindows::Choice::kRetry;
  if (button == QMessageBox::Ignore)
    return StartUpWindows::Choice::kIgnore;
  return StartUpWindows::Choice::kAbort;
}

StartUpWindows::Choice PanelApp::askNotResponding(const std::string& deniedPort) {
  return AskNotResponding(deniedPort);
}

std::optional<size_t> PanelApp::askUsbPort(const std::vector<PortCandidate>& ports) {
  return AskUsbPortInWindow(ports);
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
  UseQtLanguage(ChosenLanguage);
}

void PanelApp::runMainWindow() {
  CMainPanel panel;
  panel.exec();
}

}  // namespace vornik
