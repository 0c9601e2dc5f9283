#include "info/firmware_page.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include "link/connection.h"
#include "link/machine_state.h"
#include "res/ids_firmware.h"
#include "res/string_table.h"
#include "res/templates.h"
#include "ui/ask_user.h"
#include "ui/lang_string.h"

namespace vornik {
namespace {

namespace ids = res::firmware_ids;

// Windows' "every file" filter; on this system every file is "*".
constexpr const char* kFileFilter = "All files (*)";

QString StringText(int id) {
  return QString::fromLatin1(res::StringResource(id));
}

}  // namespace

// Shows the download's progress as it goes. The window is busy until the download ends,
// so each change is painted at once; its pauses, like every wait, run the wait hook, which
// keeps the window painted and answering the window system but holds back the user's input
// until the download is over.
class CFwUp::PageProgress : public FirmwareProgress {
 public:
  explicit PageProgress(CFwUp& page) : page_(page) {}

  void transferStarting() override {
    page_.progressBar()->setRange(0, 100);
    page_.progressBar()->setValue(0);
    page_.progressBar()->repaint();
  }

  void blockSent(uint64_t sent, int percent) override {
    page_.progressBar()->setValue(percent);
    page_.percent_ = QString::asprintf("%d %%", percent);
    page_.message_ = QString::number(sent) + QLatin1Char(' ') + page_.texts_.bytesTransferred;
    page_.transferToControls();
    page_.progressBar()->repaint();
    for (int id : {ids::kPercent, ids::kMessage})
      page_.controls().control(id)->repaint();
  }

  void writingComplete() override {
    QLabel* message = page_.controls().find<QLabel>(ids::kMessage);
    message->setText(page_.texts_.writingComplete);
    message->repaint();
  }

 private:
  CFwUp& page_;
};

CFwUp::CFwUp(QWidget* parent)
    : TemplatePage(res::kTemplate101, parent), message_(StringText(res::kStrSelectFirmware)) {}

void CFwUp::onInitDialog() {
  connect(controls().find<QPushButton>(ids::kBrowse), &QPushButton::clicked, this,
          &CFwUp::OnBrowse);
  connect(controls().find<QPushButton>(ids::kUpdate), &QPushButton::clicked, this,
          &CFwUp::OnUpdate);
  localize();
}

void CFwUp::localize() {
  texts_ = {LangString("COMMON", "IDS_STRING100"),       LangString("FWUP", "IDS_BYTES"),
            LangString("FWUP", "IDS_BYTES_TRANSFERRED"), LangString("FWUP", "IDS_WRITE_FAILED"),
            LangString("FWUP", "IDS_WRITING_COMPLETE"),  LangString("FWUP", "IDS_UPDATE_COMPLETE")};
  message_ = texts_.selectFile;
  transferToControls();
  res::LocalizeDialog(controls());
}

QProgressBar* CFwUp::progressBar() const {
  return controls().find<QProgressBar>(ids::kProgressBar);
}

void CFwUp::transferToControls() {
  // A long path keeps its start and its file name; the whole path is the tooltip.
  QLabel* path = controls().find<QLabel>(ids::kFilePath);
  path->setText(path->fontMetrics().elidedText(filePath_, Qt::ElideMiddle,
                                               path->contentsRect().width() - 2 * path->indent()));
  path->setToolTip(filePath_);
  controls().find<QLabel>(ids::kFileSize)->setText(fileSize_);
  controls().find<QLabel>(ids::kMessage)->setText(message_);
  controls().find<QLabel>(ids::kPercent)->setText(percent_);
  controls().control(ids::kUpdate)->setEnabled(!filePath_.isEmpty() && !updateRunning_);
  controls().control(ids::kBrowse)->setEnabled(!updateRunning_);
}

void CFwUp::OnBrowse() {
  const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kFileFilter);
  if (path.isEmpty())
    return;
  if (const auto size = FirmwareFileSize(QFile::encodeName(path).toStdString())) {
    filePath_ = path;
    fileSize_ = QString::number(*size) + QLatin1Char(' ') + texts_.bytes;
  } else {
    dropFile();
  }
  transferToControls();
}

void CFwUp::OnUpdate() {
  if (!confirmUpdate())
    return;
  if (Connection.PortKind == kPortEcp1) {
    OnUpdate4NtLpt();
    return;
  }
  runDownload(DownloadFirmware);
}

void CFwUp::OnUpdate4NtLpt() {
  runDownload(DownloadFirmwareEcp);
}

bool CFwUp::confirmUpdate() {
  const QString version = MachineState.DeviceInfoRead
                              ? QString::fromLocal8Bit(MachineState.DeviceInfo.fwVersion)
                              : LangString("FWUP", "IDS_FIRMWARE_NOT_READ");
  const QString text = LangString("FWUP", "IDS_UPDATE_QUESTION") + QStringLiteral("\n\n") +
                       LangString("FWUP", "IDS_UPDATE_FILE") + QLatin1Char(' ') +
                       QDir::toNativeSeparators(filePath_) + QLatin1Char('\n') +
                       LangString("FWUP", "IDS_UPDATE_SIZE") + QLatin1Char(' ') + fileSize_ +
                       QLatin1Char('\n') + LangString("FWUP", "IDS_FIRMWARE_NOW") +
                       QLatin1Char(' ') + version + QStringLiteral("\n\n") +
                       LangString("FWUP", "IDS_DO_NOT_SWITCH_OFF");
  return AskUser(this, "UpdateQuestion", text,
                 {LangString("FWUP", "IDC_START_UPDATE"),
                  LangString("FWUP", "IDC_CANCEL_UPDATE")}) == 0;
}

void CFwUp::runDownload(Download download) {
  // Nothing of the last run stays on the page while this one begins.
  progressBar()->setValue(0);
  percent_ = QStringLiteral("0 %");
  message_.clear();
  setUpdateRunning(true);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  PageProgress progress(*this);
  const FirmwareResult result = download(QFile::encodeName(filePath_).toStdString(), progress);
  QApplication::restoreOverrideCursor();
  // What the user did while the window was busy reaches it now, while the update still
  // counts as running, and is refused.
  QCoreApplication::processEvents();
  switch (result) {
    case FirmwareResult::kFileNotOpened:
      dropFile();
      message_ = texts_.selectFile;
      transferToControls();
      break;
    case FirmwareResult::kFailed:
      message_ = texts_.writeFailed;
      transferToControls();
      break;
    case FirmwareResult::kCompleted:
      finishUpdate();
      break;
  }
  setUpdateRunning(false);
}

void CFwUp::finishUpdate() {
  QMessageBox box(QMessageBox::NoIcon, StringText(res::kStrAppTitle), texts_.updateComplete,
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  message_ = texts_.selectFile;
  dropFile();
  progressBar()->setValue(0);
  percent_.clear();
  transferToControls();
}

void CFwUp::dropFile() {
  filePath_.clear();
  fileSize_.clear();
}

void CFwUp::setUpdateRunning(bool running) {
  updateRunning_ = running;
  transferToControls();
  emit updateRunningChanged(running);
}

}  // namespace vornik
