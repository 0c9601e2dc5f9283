#include "res/accessible_names.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "res/dialog_builder.h"

namespace vornik::res {
namespace {

// Controls without a text of their own: they are named by the caption before them.
bool TakesCaption(ControlKind kind) {
  switch (kind) {
    case ControlKind::kEdit:
    case ControlKind::kFilterEdit:
    case ControlKind::kDropList:
    case ControlKind::kArrowBar:
    case ControlKind::kListView:
    case ControlKind::kProgressBar:
    case ControlKind::kDatePicker:
    case ControlKind::kTimePicker:
      return true;
    default:
      return false;
  }
}

}  // namespace

QString AccessibleText(const QString& caption) {
  QString text;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size())
      ++i;
    text += caption[i];
  }
  text = text.trimmed();
  if (text.endsWith(u':'))
    text = text.chopped(1).trimmed();
  return text;
}

void NameControls(const DialogControls& controls) {
  const DialogTemplate* dialog = controls.dialogTemplate();
  if (dialog == nullptr)
    return;
  QString caption;
  QLabel* captionLabel = nullptr;
  QString frame;
  for (qsizetype i = 0; i < qsizetype(dialog->controls.size()); ++i) {
    const ControlKind kind = dialog->controls[size_t(i)].kind;
    QWidget* widget = controls.controlAt(i);
    if (widget == nullptr)
      continue;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (dialog->controls[size_t(i)].style & kSunken) {
        label->setAccessibleDescription(caption);
      } else {
        caption = AccessibleText(label->text());
        captionLabel = label;
      }
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      frame = caption = AccessibleText(box->title());
      captionLabel = nullptr;
    } else if (TakesCaption(kind)) {
      if (!caption.isEmpty())
        widget->setAccessibleName(caption);
      if (captionLabel != nullptr && captionLabel->buddy() == nullptr &&
          widget->focusPolicy() != Qt::NoFocus)
        captionLabel->setBuddy(widget);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      const QString text = AccessibleText(button->text());
      if (kind == ControlKind::kRadioButton && !frame.isEmpty()) {
        button->setAccessibleName(frame + u' ' + text);
        continue;  // the frame's caption goes on to a field after its buttons
      }
      if (kind == ControlKind::kImageButton)
        button->setAccessibleName(text);
      caption.clear();
      captionLabel = nullptr;
    }
  }
}

}  // namespace vornik::res
