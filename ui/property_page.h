// `PropertyPage`: one page of the main window's tabbed sheet. The page object exists from
// the main window's initialization on, but its controls are made the first time its tab is
// shown (`initDialog`), so a page the user never opens never reads the device.
#pragma once

#include <QWidget>

class QAbstractButton;

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

  // Whether the page's record holds real values: read from the device, or loaded from a
  // settings file. Until it does, the page's sending button stays disabled, so a failed
  // read never sends the start-up defaults over the device's own setup.
  bool recordLoaded() const { return recordLoaded_; }
  void setRecordLoaded(bool loaded);

 protected:
  // Makes the page's controls from its template, localizes them and does the page's first
  // device work.
  virtual void initDialog() = 0;
  // Enter in one of the page's fields: commit what it holds, as leaving it does.
  virtual void commitField(QWidget* /*field*/) {}

  // The button that sends the page's record to the device; disabled while no record is
  // loaded.
  void setSendButton(QAbstractButton* button);

  // Enter in a field that does not take it (an edit field, a list) stops at its page: it
  // commits the field and leaves the panel open instead of pressing the window's default
  // button. Buttons take Enter themselves and never get here.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool initialized_ = false;
  bool recordLoaded_ = false;
  QAbstractButton* sendButton_ = nullptr;
};

}  // namespace vornik
