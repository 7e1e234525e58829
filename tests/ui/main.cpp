// The window's tests run on the offscreen platform unless told otherwise.

#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "report/UErrorDialog.h"
#include "ui/UApplication.h"
#include "ui/UFileDialogs.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication App(argc, argv);
  // The window's settings go to a test folder, emptied first: no test reads the user's.
  QStandardPaths::setTestModeEnabled(true);
  WindowSettings()->clear();
  // Tests close and delete windows; the application outlives them all.
  App.setQuitOnLastWindowClosed(false);
  // Error reports go to a folder of the tests' own; no mail program starts and nothing quits.
  QTemporaryDir Logs;
  if (!Logs.isValid()) return 1;
  TApplication::SetErrorLog(TErrorLog(Logs.path(), Logs.filePath("data")));
  TErrorDialog::UrlOpener = [](const QUrl&) { return false; };
  TApplication::QuitProgram = [] { ADD_FAILURE() << "Close the program was pressed"; };
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
