#include "app/port_chooser.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "app/device_id.h"
#include "ui/lang_string.h"

namespace vornik {
namespace {

// A label's text as its control's accessible name: without the mnemonic's ampersand.
QString PlainName(QString text) {
  return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

QString PortLine(const PortCandidate& port) {
  QString what = QString::fromStdString(DeviceIdMakerAndModel(port.deviceId));
  if (what.isEmpty())
    what = LangString("PORT", "IDS_NO_ID");
  return QString::fromLocal8Bit(port.path.c_str()) + QStringLiteral("  ") + what;
}

}  // namespace

CPortChooser::CPortChooser(const std::vector<PortCandidate>& ports, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setWindowTitle(LangString("PORT", "CAPTION"));
  auto* text = new QLabel(LangString("PORT", "IDS_CHOOSE_PORT"), this);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  auto* listLabel = new QLabel(LangString("PORT", "IDC_PORT_LIST"), this);
  listLabel->setTextFormat(Qt::PlainText);
  listLabel->setBuddy(list_);
  list_->setAccessibleName(PlainName(listLabel->text()));
  for (const PortCandidate& port : ports)
    list_->addItem(PortLine(port));
  list_->setCurrentRow(0);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* use =
      buttons->addButton(LangString("PORT", "IDC_USE_PORT"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel =
      buttons->addButton(LangString("PORT", "IDC_CANCEL"), QDialogButtonBox::RejectRole);
  use->setAccessibleName(PlainName(use->text()));
  cancel->setAccessibleName(PlainName(cancel->text()));
  use->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(listLabel);
  layout->addWidget(list_);
  layout->addWidget(buttons);
}

std::optional<size_t> CPortChooser::chosenPort() const {
  if (result() != QDialog::Accepted || list_->currentRow() < 0)
    return std::nullopt;
  return size_t(list_->currentRow());
}

std::optional<size_t> AskUsbPortInWindow(const std::vector<PortCandidate>& ports) {
  CPortChooser chooser(ports);
  chooser.exec();
  return chooser.chosenPort();
}

}  // namespace vornik
