// Test main of the window tests: a QApplication on the offscreen platform unless a display
// was chosen, and the C locale so that texts read the same everywhere.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
  // Test programs are also run to list their tests, where no display may exist.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::setlocale(LC_ALL, "C");
  // The panel speaks English here whatever the locale of the person running the tests.
  setenv("VORNIK_LANG", "en", 1);
  QLocale::setDefault(QLocale::c());
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
