// Makes a window's controls from its dialog template, and localizes them.
//
// How a page or dialog uses it (in its initialization):
//
//   controls_ = res::BuildDialog(res::kTemplate106, this);   // children of `this`, sized
//   auto* tray = controls_.find<QComboBox>(1156);            // a control by its id
//   res::LocalizeDialog(controls_);                          // texts from the language file
//
// Control kinds become: label QLabel (plain text, never markup), group box QGroupBox,
// etched line QFrame, push button QPushButton, image button ImageButton, check box
// QCheckBox, radio button QRadioButton (each group in a QButtonGroup, ids = control ids),
// edit QLineEdit, filtered edit FilterEdit, drop-down list QComboBox, arrows QScrollBar
// (vertical; its top arrow triggers SliderSingleStepSub, the bottom one SliderSingleStepAdd),
// list view QTreeWidget (no columns yet: the window adds them), progress bar QProgressBar
// (0 to 100, no text), date picker QDateEdit, time picker QTimeEdit.
//
// A window with a menu gets a QMenuBar above a client widget that holds the controls;
// otherwise the controls are direct children of the window. A page is sized to its
// template (and no smaller); a top-level dialog gets its caption, its title-bar buttons and
// a fixed size (resize it with setFixedSize).
#pragma once

#include <QFont>
#include <QList>
#include <QMap>
#include <QMenuBar>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "res/dialog_template.h"

namespace vornik::res {

// The dialog font's base units in pixels: the average character width and the height.
struct DialogBaseUnits {
  int x;
  int y;
};

QFont DialogFont(const DialogTemplate& dialog);
DialogBaseUnits BaseUnits(const QFont& font);
// Converts a rectangle in dialog units to pixels, rounding as the platform does.
QRect DialogUnitsToPixels(const DialogBaseUnits& units, const QRect& rect);

// The controls made from one template, found by control id.
class DialogControls {
 public:
  DialogControls() = default;

  // The control with `id`, or null (also for `kUnnamed` and ids the template lacks).
  QWidget* control(int id) const { return controls_.value(id); }
  template <class T>
  T* find(int id) const {
    return qobject_cast<T*>(control(id));
  }
  // The control made from the template's control number `index`, named or not.
  QWidget* controlAt(qsizetype index) const { return ordered_.value(index); }
  const DialogTemplate* dialogTemplate() const { return template_; }
  // The window the template was built into, and the widget that holds its controls.
  QWidget* window() const { return window_; }
  QWidget* client() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  DialogBaseUnits units() const { return units_; }

 private:
  friend DialogControls BuildDialog(const DialogTemplate& dialog, QWidget* window);

  const DialogTemplate* template_ = nullptr;
  QPointer<QWidget> window_;
  QPointer<QWidget> client_;
  QPointer<QMenuBar> menuBar_;
  DialogBaseUnits units_{0, 0};
  QMap<int, QPointer<QWidget>> controls_;
  QList<QPointer<QWidget>> ordered_;
};

// Makes the controls of `dialog` inside `window`, in template order (which is also the tab
// order: a template lists its controls in the order they read on screen), with the
// template's default texts, items, styles and positions, and names them for the
// accessibility bus (res/accessible_names.h).
DialogControls BuildDialog(const DialogTemplate& dialog, QWidget* window);

// Sets every text that has a language key from the template's section: a top-level
// dialog's caption ("CAPTION"), each label, button, check box, radio button and group box
// title (empty when the key is missing), and each drop-down list with item keys, emptied
// and refilled with one item per key so that item n still stands for device value n;
// then names the controls again from their new texts.
// Pages get their tab titles from the main window instead.
void LocalizeDialog(const DialogControls& controls);

}  // namespace vornik::res
