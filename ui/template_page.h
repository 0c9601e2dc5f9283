// A page made from its dialog template: its controls are built and localized from the
// template's language section the first time the page is shown.
#pragma once

#include "res/dialog_builder.h"
#include "ui/property_page.h"

namespace vornik {

class TemplatePage : public PropertyPage {
  Q_OBJECT

 public:
  explicit TemplatePage(const res::DialogTemplate& dialog, QWidget* parent = nullptr);

  const res::DialogTemplate& dialogTemplate() const { return dialog_; }
  const res::DialogControls& controls() const { return controls_; }

 protected:
  // Builds and localizes the controls, then runs `onInitDialog`.
  void initDialog() final;
  // What the page does once its controls exist (its first device read, for instance).
  virtual void onInitDialog() {}

 private:
  const res::DialogTemplate& dialog_;
  res::DialogControls controls_;
};

}  // namespace vornik
