// `CFwUp`: the Firmware Update page (template 101, section "FWUP"): a firmware file chosen
// with Browse and sent to the device with Update, with its progress in percent and bytes.
#pragma once

#include <QString>

#include <string>

#include "info/firmware_download.h"
#include "ui/template_page.h"

class QProgressBar;

namespace vornik {

class CFwUp : public TemplatePage {
  Q_OBJECT

 public:
  explicit CFwUp(QWidget* parent = nullptr);

  // Asks for a file; a file that opens is shown with its size and enables Update, one that
  // does not leaves the page without a file.
  void OnBrowse();
  // Once the person confirmed, sends the chosen file over the selected connection, the ECP
  // driver device's way when that is the connection.
  void OnUpdate();
  void OnUpdate4NtLpt();

  // True from an Update click until its download has ended: the main window keeps the
  // panel open and on this page meanwhile, since a device left with part of an image
  // cannot start again.
  bool updateRunning() const { return updateRunning_; }

  // Reads the page's texts (the message of section "COMMON", the labels and the download's
  // words of section "FWUP") and shows them.
  void localize();

 signals:
  void updateRunningChanged(bool running);

 protected:
  void onInitDialog() override;

 private:
  class PageProgress;
  using Download = FirmwareResult (*)(const std::string& path, FirmwareProgress& progress);

  // Names the file, its size and the firmware now on the device, warns not to switch the
  // device off, and asks whether to send the file; true when the person chose to.
  bool confirmUpdate();
  void runDownload(Download download);
  void setUpdateRunning(bool running);
  // The completion box; then the page is back to no file.
  void finishUpdate();
  void dropFile();
  // The members into the controls; Update is enabled while a file is chosen.
  void transferToControls();
  QProgressBar* progressBar() const;

  // The texts the page shows as it goes, in its language.
  struct Texts {
    QString selectFile;
    QString bytes;
    QString bytesTransferred;
    QString writeFailed;
    QString writingComplete;
    QString updateComplete;
  };

  Texts texts_;
  QString filePath_;
  QString fileSize_;
  QString message_;
  QString percent_ = QStringLiteral("0 %");
  bool updateRunning_ = false;
};

}  // namespace vornik
