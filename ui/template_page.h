// A page made from its dialog template: its controls are built and localized from the
// template's language section the first time the page is shown.
#pragma once

#include <QString>

#include "res/dialog_builder.h"
#include "ui/property_page.h"

class QTime;

namespace vornik {

// The status line's text: what was done, and when.
QString StatusLineText(const QString& done, const QTime& when);

class TemplatePage : public PropertyPage {
  Q_OBJECT

 public:
  explicit TemplatePage(const res::DialogTemplate& dialog, QWidget* parent = nullptr);

  const res::DialogTemplate& dialogTemplate() const { return dialog_; }
  const res::DialogControls& controls() const { return controls_; }
  // The page's status line (`res::kStatusLine`) says that `done` succeeded, and when.
  void showDone(const QString& done);

 protected:
  // Builds and localizes the controls, then runs `onInitDialog`.
  void initDialog() final;
  // What the page does once its controls exist (its first device read, for instance).
  virtual void onInitDialog() {}
  // From now on a change the person makes in a field, list, check box, radio button or
  // picker of the page counts as an unsent edit.
  void trackEdits();
  // Sends the page's record with `command` as its sending button does (`RunPageCommand`); on
  // success the page holds no unsent edit and its status line says so. True on success.
  bool sendRecord(int (*command)());

 private:
  const res::DialogTemplate& dialog_;
  res::DialogControls controls_;
};

}  // namespace vornik
