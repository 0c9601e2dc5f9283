#include "app/help_window.h"

#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/program_folders.h"

namespace vornik {
namespace {

QPointer<QDialog>& HelpWindow() {
  static QPointer<QDialog> window;
  return window;
}

}  // namespace

QString HelpFilePath() {
  const std::string programPath = platform::Services().system->programPath();
  const QString name = QFileInfo(QString::fromStdString(programPath)).completeBaseName() + ".html";
  return QString::fromStdString(
      platform::FindProgramFile(platform::FoldersOfProgram(programPath).data, name.toStdString()));
}

void ShowHelp(QWidget* owner, int context) {
  const QString path = HelpFilePath();
  if (!QFileInfo::exists(path)) {
    QMessageBox::critical(owner, QString(),
                          QStringLiteral("Unable to open help file %1").arg(path));
    return;
  }
  auto& window = HelpWindow();
  if (!window) {
    window = new QDialog(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Help"));
    window->setObjectName(QStringLiteral("HelpWindow"));
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    window->resize(560, 480);
  }
  auto* browser = window->findChild<QTextBrowser*>();
  browser->setSource(QUrl::fromLocalFile(path));
  browser->scrollToAnchor(QStringLiteral("topic%1").arg(context));
  window->show();
  window->raise();
  window->activateWindow();
}

void QuitHelp() {
  if (auto& window = HelpWindow())
    window->close();
}

}  // namespace vornik
