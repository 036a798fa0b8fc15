// The main of the Qt side's test programs: a QApplication on the offscreen
// platform (unless another is asked for), then every test. A program that
// brings its own main keeps it: the linker takes this one only when none is.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
