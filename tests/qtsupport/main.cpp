// Entry point of the widget tests: one QApplication for all of them, on the
// offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // gtest_discover_tests runs this binary while building to list the tests,
  // where the tests' own environment settings do not apply yet; without a
  // display the default platform would abort.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
