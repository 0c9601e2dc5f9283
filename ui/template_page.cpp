#include "ui/template_page.h"

namespace vornik {

TemplatePage::TemplatePage(const res::DialogTemplate& dialog, QWidget* parent)
    : PropertyPage(parent), dialog_(dialog) {
  // The sheet sizes itself from its pages before any page has made its controls.
  const auto units = res::BaseUnits(res::DialogFont(dialog));
  setMinimumSize(res::DialogUnitsToPixels(units, QRect(0, 0, dialog.cx, dialog.cy)).size());
}

void TemplatePage::initDialog() {
  controls_ = res::BuildDialog(dialog_, this);
  res::LocalizeDialog(controls_);
  onInitDialog();
}

}  // namespace vornik
