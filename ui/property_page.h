// `PropertyPage`: one page of the main window's tabbed sheet. The page object exists from
// the main window's initialization on, but its controls are made the first time its tab is
// shown (`initDialog`), so a page the user never opens never reads the device.
#pragma once

#include <QWidget>

#include <span>

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
  // The record came from the device or a file (`loaded` true): the page also holds no
  // unsent edits from then on.
  void setRecordLoaded(bool loaded);

  // Whether the page holds edits the device does not have yet: a control the person changed
  // since the record last came from the device or a file, or went to the device. Edits made
  // while no record came count for nothing: the page could never send them.
  bool hasUnsentEdits() const { return edited_ && recordLoaded_; }
  void markEdited() { edited_ = true; }
  // Sends the page's record as its sending button does (Apply, Write); true when the device
  // took it. A page that edits nothing has nothing to send.
  virtual bool sendEdits() { return true; }
  // Before a read or a file replaces what the page shows: true when no unsent edit is lost
  // or the person chose to let the edits go.
  bool mayReplaceEdits();

 protected:
  // Makes the page's controls from its template, localizes them and does the page's first
  // device work.
  virtual void initDialog() = 0;
  // Enter in one of the page's fields: commit what it holds, as leaving it does.
  virtual void commitField(QWidget* /*field*/) {}

  // The button that sends the page's record to the device; disabled while no record is
  // loaded.
  void setSendButton(QAbstractButton* button);
  // The record went to the device: nothing on the page is unsent any more.
  void editsSent() { edited_ = false; }

  // Enter in a field that does not take it (an edit field, a list) stops at its page: it
  // commits the field and leaves the panel open instead of pressing the window's default
  // button. Buttons take Enter themselves and never get here.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool initialized_ = false;
  bool recordLoaded_ = false;
  bool edited_ = false;
  QAbstractButton* sendButton_ = nullptr;
};

// Before a read or a file replaces what `pages` show: asks once, in a box owned by `owner`,
// when any of them holds unsent edits. True when nothing unsent is lost or the person chose
// to let the edits go.
bool MayReplaceEdits(std::span<PropertyPage* const> pages, QWidget* owner);

}  // namespace vornik
