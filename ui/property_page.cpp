#include "ui/property_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace vornik {

PropertyPage::PropertyPage(QWidget* parent) : QWidget(parent) {}

void PropertyPage::ensureInitialized() {
  if (initialized_)
    return;
  initialized_ = true;
  initDialog();
}

void PropertyPage::setRecordLoaded(bool loaded) {
  recordLoaded_ = loaded;
  if (sendButton_ != nullptr)
    sendButton_->setEnabled(loaded);
}

void PropertyPage::setSendButton(QAbstractButton* button) {
  sendButton_ = button;
  sendButton_->setEnabled(recordLoaded_);
}

void PropertyPage::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(event);
    return;
  }
  QWidget* field = QApplication::focusWidget();
  if (field != nullptr && isAncestorOf(field))
    commitField(field);
  event->accept();
}

}  // namespace vornik
