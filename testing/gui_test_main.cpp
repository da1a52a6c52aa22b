#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Widget tests share one QApplication, made before any test runs. The locale
// is pinned to C; a test that needs another sets and restores it itself.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  return RUN_ALL_TESTS();
}
