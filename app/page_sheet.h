// `PageSheet`: the row of tabbed pages in the main window. It makes a page's controls the
// first time its tab is shown, and tells pages when they become or stop being the shown one.
#pragma once

#include <QTabWidget>

#include "ui/property_page.h"

namespace vornik {

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
  // While locked, the other pages' tabs are grayed and cannot be chosen.
  void lockActivePage(bool lock);

 private:
  void onCurrentChanged(int index);

  PropertyPage* shown_ = nullptr;
};

}  // namespace vornik
