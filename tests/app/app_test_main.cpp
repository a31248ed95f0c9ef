// The GUI tests run offscreen; CI has no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

#include "editor_under_test.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::strcmp(argv[1], mireforge::testing::EditorUnderTestOption) == 0)
    return mireforge::testing::RunEditorUnderTest(argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mireforge");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
