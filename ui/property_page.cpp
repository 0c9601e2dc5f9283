#include "ui/property_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

#include "ui/ask_user.h"
#include "ui/lang_string.h"

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
  if (loaded)
    edited_ = false;
  if (sendButton_ != nullptr)
    sendButton_->setEnabled(loaded);
}

bool PropertyPage::mayReplaceEdits() {
  PropertyPage* const pages[] = {this};
  return MayReplaceEdits(pages, window());
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

bool MayReplaceEdits(std::span<PropertyPage* const> pages, QWidget* owner) {
  if (std::none_of(pages.begin(), pages.end(),
                   [](const PropertyPage* page) { return page->hasUnsentEdits(); }))
    return true;
  return AskUser(owner, "ReplaceEditsQuestion", LangString("COMMON", "IDS_EDITS_REPLACED"),
                 {LangString("COMMON", "IDC_DISCARD_EDITS"),
                  LangString("COMMON", "IDC_KEEP_EDITS")}) == 0;
}

}  // namespace vornik
