#include "res/dialog_builder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "res/accessible_names.h"
#include "res/menus.h"
#include "ui/accessible_drop_list.h"
#include "ui/filter_edit.h"
#include "ui/image_button.h"
#include "ui/lang_string.h"
#include "ui/qt_language.h"

namespace vornik::res {
namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

Qt::Alignment HorizontalAlignment(unsigned style) {
  if (style & kAlignRight) {
    return Qt::AlignRight;
  }
  if (style & kAlignCenter) {
    return Qt::AlignHCenter;
  }
  return Qt::AlignLeft;
}

QWidget* MakeLabel(const ControlTemplate& control, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(control.text), parent);
  label->setTextFormat(Qt::PlainText);
  if (control.style & kSunken) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(HorizontalAlignment(control.style) | Qt::AlignVCenter);
    label->setIndent(2);
  } else {
    label->setWordWrap(true);
    label->setAlignment(HorizontalAlignment(control.style) | Qt::AlignTop);
  }
  return label;
}

QWidget* MakeListView(const ControlTemplate& control, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode((control.style & kMultiSelect) ? QAbstractItemView::ExtendedSelection
                                                        : QAbstractItemView::SingleSelection);
  list->header()->setSectionsClickable(false);
  list->header()->setSectionsMovable(false);
  list->header()->setStretchLastSection(false);
  list->setColumnCount(0);
  return list;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* parent) {
  QLineEdit* edit;
  if (control.kind == ControlKind::kFilterEdit) {
    auto* filtered = new FilterEdit(parent);
    filtered->setUpperCaseStyle(control.style & kUpperCase);
    edit = filtered;
  } else {
    edit = new QLineEdit(parent);
  }
  if (control.style & kDigitsOnly) {
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  }
  edit->setText(QString::fromLatin1(control.text));
  return edit;
}

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
  const QString text = QString::fromLatin1(control.text);
  switch (control.kind) {
    case ControlKind::kLabel:
      return MakeLabel(control, parent);
    case ControlKind::kGroupBox:
      return new QGroupBox(text, parent);
    case ControlKind::kEtchedLine: {
      auto* line = new QFrame(parent);
      line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
      return line;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(text, parent);
      button->setDefault(control.style & kDefaultButton);
      return button;
    }
    case ControlKind::kImageButton: {
      auto* button = new ImageButton(text, parent);
      button->setDefault(control.style & kDefaultButton);
      return button;
    }
    case ControlKind::kCheckBox:
      return new QCheckBox(text, parent);
    case ControlKind::kRadioButton:
      return new QRadioButton(text, parent);
    case ControlKind::kEdit:
    case ControlKind::kFilterEdit:
      return MakeEdit(control, parent);
    case ControlKind::kDropList: {
      auto* list = new QComboBox(parent);
      for (const char* item : control.items) {
        list->addItem(QString::fromLatin1(item));
      }
      list->setCurrentIndex(-1);
      return list;
    }
    case ControlKind::kArrowBar: {
      auto* arrows = new QScrollBar(Qt::Vertical, parent);
      // A range keeps both arrows live; the page reacts to the arrow actions, not the value.
      arrows->setRange(-1, 1);
      return arrows;
    }
    case ControlKind::kListView:
      return MakeListView(control, parent);
    case ControlKind::kProgressBar: {
      auto* progress = new QProgressBar(parent);
      progress->setRange(0, 100);
      progress->setValue(0);
      progress->setTextVisible(false);
      return progress;
    }
    case ControlKind::kDatePicker: {
      auto* date = new QDateEdit(parent);
      date->setCalendarPopup(true);
      date->setDisplayFormat(WithFourDigitYears(QLocale().dateFormat(QLocale::ShortFormat)));
      return date;
    }
    case ControlKind::kTimePicker:
      return new QTimeEdit(parent);
  }
  return nullptr;
}

// Radio buttons form one exclusive group from a button marked as a group start, or from
// the first radio button after any other control, up to the next such start.
class RadioGrouper {
 public:
  explicit RadioGrouper(QWidget* owner) : owner_(owner) {}

  void add(const ControlTemplate& control, QWidget* widget) {
    auto* radio = qobject_cast<QRadioButton*>(widget);
    if (radio == nullptr) {
      group_ = nullptr;
      return;
    }
    if (group_ == nullptr || (control.style & kGroupStart)) {
      group_ = new QButtonGroup(owner_);
    }
    group_->addButton(radio, control.id);
  }

 private:
  QWidget* owner_;
  QButtonGroup* group_ = nullptr;
};

void ApplyStyle(const ControlTemplate& control, QWidget* widget) {
  if (control.style & kDisabled) {
    widget->setEnabled(false);
  }
  // Shown explicitly: a page builds its controls when its tab is first opened, inside a
  // window that is already on screen.
  widget->setVisible(!(control.style & kHidden));
}

QRect ControlGeometry(const ControlTemplate& control, const DialogBaseUnits& units,
                      QWidget* widget) {
  QRect pixels = DialogUnitsToPixels(units, QRect(control.x, control.y, control.cx, control.cy));
  if (control.kind == ControlKind::kDropList) {
    // The template height is the opened list; closed, the list is one line high.
    pixels.setHeight(widget->sizeHint().height());
  } else if (control.kind == ControlKind::kEtchedLine) {
    pixels.setHeight(std::max(pixels.height(), 2));
  }
  return pixels;
}

}  // namespace

QFont DialogFont(const DialogTemplate& dialog) {
  QFont font(QString::fromLatin1(dialog.fontName), dialog.fontPoints);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogBaseUnits BaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(alphabet / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const DialogBaseUnits& units, const QRect& rect) {
  return QRect(MulDiv(rect.x(), units.x, 4), MulDiv(rect.y(), units.y, 8),
               MulDiv(rect.width(), units.x, 4), MulDiv(rect.height(), units.y, 8));
}

DialogControls BuildDialog(const DialogTemplate& dialog, QWidget* window) {
  // Before the first list is made: the bus asks for a control's interface once, when it
  // first shows.
  UseAccessibleDropLists();
  DialogControls built;
  built.template_ = &dialog;
  built.window_ = window;
  window->setFont(DialogFont(dialog));
  built.units_ = BaseUnits(window->font());

  QWidget* client = window;
  int menuHeight = 0;
  if (dialog.menuId != 0) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    built.menuBar_ = BuildMenuBar(*FindMenu(dialog.menuId), window);
    layout->setMenuBar(built.menuBar_);
    client = new QWidget(window);
    layout->addWidget(client);
    client->show();
    menuHeight = built.menuBar_->sizeHint().height();
  }
  built.client_ = client;

  RadioGrouper radios(window);
  QList<QWidget*> frames;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = MakeControl(control, client);
    widget->setGeometry(ControlGeometry(control, built.units_, widget));
    ApplyStyle(control, widget);
    radios.add(control, widget);
    if (control.kind == ControlKind::kGroupBox) {
      frames.append(widget);
    }
    if (control.id != kUnnamed) {
      built.controls_.insert(control.id, widget);
    }
    built.ordered_.append(widget);
  }
  // A frame lies beneath the controls it surrounds, whatever its place in the template.
  for (QWidget* frame : frames) {
    frame->lower();
  }

  const QRect size = DialogUnitsToPixels(built.units_, QRect(0, 0, dialog.cx, dialog.cy));
  if (dialog.page) {
    window->setMinimumSize(size.size());
    window->resize(size.size());
  } else {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dialog.minimizeBox) {
      flags |= Qt::WindowMinimizeButtonHint;
    }
    window->setWindowFlags(flags);
    window->setWindowTitle(QString::fromLatin1(dialog.caption));
    window->setFixedSize(size.width(), size.height() + menuHeight);
  }
  NameControls(built);
  return built;
}

void LocalizeDialog(const DialogControls& controls) {
  const DialogTemplate* dialog = controls.dialogTemplate();
  if (dialog == nullptr || dialog->langSection == nullptr) {
    return;
  }
  const char* section = dialog->langSection;
  if (!dialog->page && controls.window() != nullptr) {
    controls.window()->setWindowTitle(LangString(section, "CAPTION"));
  }
  for (const ControlTemplate& control : dialog->controls) {
    QWidget* widget = controls.control(control.id);
    if (widget == nullptr) {
      continue;
    }
    if (control.langKey != nullptr) {
      const QString text = LangString(section, control.langKey);
      if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
      } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
      } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(text);
      }
    }
    if (auto* list = qobject_cast<QComboBox*>(widget);
        list != nullptr && !control.itemKeys.empty()) {
      list->clear();
      for (const char* key : control.itemKeys) {
        list->addItem(LangString(section, key));
      }
      // As after filling an emptied list on the platform: nothing is selected yet.
      list->setCurrentIndex(-1);
    }
  }
  NameControls(controls);
}

}  // namespace vornik::res
