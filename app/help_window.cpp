#include "app/help_window.h"

#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "lang/lang_text.h"
#include "lang/language_choice.h"
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
  const std::vector<std::string> folders = platform::FoldersOfProgram(programPath).data;
  const std::string name =
      QFileInfo(QString::fromStdString(programPath)).completeBaseName().toStdString();
  if (ChosenLanguage != nullptr && ChosenLanguage != &kEnglish) {
    const std::string localized =
        platform::FindProgramFile(folders, name + "." + ChosenLanguage->code + ".html");
    if (QFileInfo::exists(QString::fromStdString(localized)))
      return QString::fromStdString(localized);
  }
  return QString::fromStdString(platform::FindProgramFile(folders, name + ".html"));
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
  // The page names itself in its own language.
  if (const QString title = browser->documentTitle(); !title.isEmpty())
    window->setWindowTitle(title);
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
