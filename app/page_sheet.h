// `PageSheet`: the row of tabbed pages in the main window. A page object exists from the
// main window's initialization on, but its controls are made the first time its tab is
// shown (`initDialog`), so a page the user never opens never reads the device.
#pragma once

#include <QTabWidget>
#include <QWidget>

namespace vornik {

class PropertyPage : public QWidget {
  Q_OBJECT

 public:
  explicit PropertyPage(QWidget* parent = nullptr);

  bool initialized() const { return initialized_; }

  // Runs `initDialog` once, the first time the page is shown.
  void ensureInitialized();

  // The page became the shown page / stops being it.
  virtual void onSetActive() {}
  virtual void onKillActive() {}

 protected:
  // Makes the page's controls from its template, localizes them and does the page's first
  // device work.
  virtual void initDialog() = 0;

 private:
  bool initialized_ = false;
};

class PageSheetWidget : public QTabWidget {
  Q_OBJECT

 public:
  explicit PageSheetWidget(QWidget* parent = nullptr);

  void addPage(PropertyPage* page);
  // Shows the sheet's current page (initializing it); from then on every change of tab
  // initializes the page shown and tells both pages.
  void createWindow();
  // Stops telling pages about tab changes, before the pages are deleted.
  void releasePages();
  PropertyPage* page(int index) const;
  PropertyPage* activePage() const;
  void setActivePage(int index);

 private:
  void onCurrentChanged(int index);

  PropertyPage* shown_ = nullptr;
};

}  // namespace vornik
