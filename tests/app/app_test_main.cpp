// The GUI tests run offscreen; CI has no display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mireforge");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
