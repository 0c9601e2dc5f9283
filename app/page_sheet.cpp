#include "app/page_sheet.h"

#include <QTabBar>

namespace vornik {

PageSheetWidget::PageSheetWidget(QWidget* parent) : QTabWidget(parent) {
  setObjectName(QStringLiteral("PageSheet"));
  // One row of tabs that scrolls when the tabs do not fit.
  tabBar()->setExpanding(false);
  setUsesScrollButtons(true);
}

void PageSheetWidget::createWindow() {
  connect(this, &QTabWidget::currentChanged, this, &PageSheetWidget::onCurrentChanged);
  onCurrentChanged(currentIndex());
}

void PageSheetWidget::releasePages() {
  disconnect(this, &QTabWidget::currentChanged, this, &PageSheetWidget::onCurrentChanged);
  shown_ = nullptr;
}

void PageSheetWidget::addPage(PropertyPage* page) {
  addTab(page, QString());
}

PropertyPage* PageSheetWidget::page(int index) const {
  return qobject_cast<PropertyPage*>(widget(index));
}

PropertyPage* PageSheetWidget::activePage() const {
  return shown_;
}

void PageSheetWidget::setActivePage(int index) {
  setCurrentIndex(index);
}

void PageSheetWidget::lockActivePage(bool lock) {
  for (int i = 0; i < count(); ++i)
    setTabEnabled(i, !lock || page(i) == shown_);
}

void PageSheetWidget::onCurrentChanged(int index) {
  PropertyPage* next = page(index);
  if (next == shown_)
    return;
  if (shown_ != nullptr)
    shown_->onKillActive();
  shown_ = next;
  if (next == nullptr)
    return;
  next->ensureInitialized();
  next->onSetActive();
}

}  // namespace vornik
