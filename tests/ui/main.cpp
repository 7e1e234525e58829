// The window's tests run on the offscreen platform unless told otherwise.

#include <gtest/gtest.h>

#include "ui/UApplication.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication App(argc, argv);
  // Tests close and delete windows; the application outlives them all.
  App.setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
