// Test main of the core tests.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  // The panel speaks English here whatever the locale of the person running the tests.
  setenv("VORNIK_LANG", "en", 1);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
