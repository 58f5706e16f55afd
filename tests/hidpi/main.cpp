// Entry point of the high-density tests: one QApplication on the offscreen
// platform at a scale factor of 2 on a laptop-sized screen, unless the
// caller chose otherwise. The scale must be in the environment before the
// application exists, which is why these tests have a binary of their own.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TINTWELL_TEST_DATA "/hidpi/big-screen.json");
  if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
