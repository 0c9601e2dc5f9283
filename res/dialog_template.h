// Dialog templates as data: every window of the panel is made from one of these by the
// builder (res/dialog_builder.h). Positions and sizes are in dialog units: a quarter of the
// dialog font's average character width across, an eighth of its height down.
#pragma once

#include <span>

namespace vornik::res {

// The id of a control that no code looks up (a frame, a fixed unit label).
inline constexpr int kUnnamed = -1;
// The ids of a dialog's OK and Cancel buttons, the same in every dialog.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

enum class ControlKind {
  kLabel,       // static text, word-wrapped (one line in a sunken box)
  kGroupBox,    // frame with a title
  kEtchedLine,  // horizontal separator
  kPushButton,
  kImageButton,  // push button drawn with an icon (ui/image_button.h)
  kCheckBox,
  kRadioButton,
  kEdit,        // single-line edit field
  kFilterEdit,  // edit field that refuses keys outside its kind (ui/filter_edit.h)
  kDropList,    // drop-down list; the template height is its opened extent
  kArrowBar,    // the up/down arrows beside a number field: a small vertical scroll bar
  kListView,    // report list with column headers, whole rows selected
  kProgressBar,
  kDatePicker,  // short date with a drop-down calendar
  kTimePicker,
};

enum ControlStyle : unsigned {
  kHidden = 1u << 0,
  kDisabled = 1u << 1,
  kAlignRight = 1u << 2,
  kAlignCenter = 1u << 3,
  kSunken = 1u << 4,         // label drawn as a sunken value box
  kDefaultButton = 1u << 5,  // the button that Enter presses
  kDigitsOnly = 1u << 6,     // edit: only the keys 0 to 9 are typed
  kUpperCase = 1u << 7,      // edit: typed letters become capitals
  kGroupStart = 1u << 8,     // radio button that begins a new group
  kMultiSelect = 1u << 9,    // list view: several rows may be selected
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;  // default text; a drop-down list's items are in `items`
  int x, y, cx, cy;
  unsigned style;
  // Key of the control's text in the dialog's language section; null: never localized.
  const char* langKey;
  std::span<const char* const> items;
  // Keys of a drop-down list's items, item 0 first; localization replaces `items` by them.
  std::span<const char* const> itemKeys;
};

struct DialogTemplate {
  int id;
  const char* caption;
  int cx, cy;
  const char* fontName;
  int fontPoints;
  bool page;         // a property page: a child without a caption of its own
  bool minimizeBox;  // a top-level window with a minimize box, shown in the task bar
  int menuId;        // menu resource of the window's menu bar, 0 for none
  const char* langSection;
  std::span<const ControlTemplate> controls;
};

// Shorthands that make a template read like the resource script it stands for.
constexpr ControlTemplate Control(ControlKind kind, int id, const char* text, int x, int y, int cx,
                                  int cy, unsigned style = 0, const char* langKey = nullptr) {
  return {id, kind, text, x, y, cx, cy, style, langKey, {}, {}};
}

constexpr ControlTemplate DropList(int id, int x, int y, int cx, int cy,
                                   std::span<const char* const> items,
                                   std::span<const char* const> itemKeys, unsigned style = 0) {
  return {id, ControlKind::kDropList, "", x, y, cx, cy, style, nullptr, items, itemKeys};
}

}  // namespace vornik::res
