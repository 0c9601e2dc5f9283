#include "ui/accessible_drop_list.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace vornik {
namespace {

// The list's popup view is its one child, as in Qt's own interface, so the items stay
// reachable; the press and show-menu actions open and close the popup.
class AccessibleDropList : public QAccessibleWidget {
 public:
  explicit AccessibleDropList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value)
      return list()->currentText();
    return QAccessibleWidget::text(t);
  }

  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == list()->view() ? 0 : -1;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QStringList actionNames() const override {
    return {QAccessibleActionInterface::showMenuAction(),
            QAccessibleActionInterface::pressAction()};
  }
  void doAction(const QString& action) override {
    if (action != QAccessibleActionInterface::showMenuAction() &&
        action != QAccessibleActionInterface::pressAction())
      return;
    if (list()->view()->isVisible())
      list()->hidePopup();
    else
      list()->showPopup();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* DropListFactory(const QString& className, QObject* object) {
  auto* list = qobject_cast<QComboBox*>(object);
  return className == QLatin1String("QComboBox") && list != nullptr ? new AccessibleDropList(list)
                                                                    : nullptr;
}

}  // namespace

void UseAccessibleDropLists() {
  static const bool installed = [] {
    QAccessible::installFactory(DropListFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace vornik
