// Drives a page as a user does: shows it in its window, chooses list items with the
// keyboard and clicks buttons where a user clicks them.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "ui/property_page.h"

namespace vornik::test {

// Initializes the page and shows it in `host`, as the main window does with its tab.
inline void ShowPage(PropertyPage& page, QWidget& host) {
  page.ensureInitialized();
  host.resize(page.size());
  host.show();
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
}

// Chooses item `index` of a closed list with the keyboard.
inline void ChooseItem(QComboBox* list, int index) {
  QTest::keyClick(list, Qt::Key_Home);
  for (int i = 0; i < index; ++i)
    QTest::keyClick(list, Qt::Key_Down);
}

// Clicks a push button in its middle, a check box or radio button on its box: only the box
// and its text take the click.
inline void ClickButton(QAbstractButton* button) {
  const bool boxed = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
  QTest::mouseClick(button, Qt::LeftButton, {},
                    boxed ? QPoint(6, button->height() / 2) : button->rect().center());
}

}  // namespace vornik::test
