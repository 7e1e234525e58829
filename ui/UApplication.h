#pragma once
// The application object: every error that escapes a handler ends that handler only and is
// shown in a dialog; the program goes on.

#include <QApplication>
#include <functional>
#include <string>

/// A QApplication whose notify() catches what a handler throws and reports it.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* Receiver, QEvent* Event) override;

  /// Shows the message in a modal dialog over the active window.
  static void ShowError(const std::string& Message);
};

/// Runs one handler. An error it raises ends it and is shown in the error dialog right here, so
/// that no exception ever unwinds through Qt's own frames (which leaks and is undefined there).
void RunHandler(const std::function<void()>& Handler);
