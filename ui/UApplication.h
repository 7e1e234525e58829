#pragma once
// The application object: every error that escapes a handler ends that handler only and is
// reported in the error dialog; the program goes on unless the user closes it there.

#include <QApplication>
#include <QString>
#include <functional>
#include <string>

#include "report/UErrorLog.h"

/// A QApplication whose notify() catches what a handler throws and reports it.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* Receiver, QEvent* Event) override;

  /// Reports an error raised at Where (a handler or object; may be empty): the report is copied
  /// to the clipboard, added to the error log and shown in the error dialog, modal over the
  /// active window. Never throws.
  static void ShowError(const std::string& Message, const QString& Where = {});

  /// The window whose picture and settings (from Details) go into reports. Once Window is gone,
  /// reports carry neither.
  static void SetReportSource(QWidget* Window, std::function<QString()> Details);

  /// Where reports are logged; by default the program's folder, else its data folder.
  static void SetErrorLog(const TErrorLog& Log);
  static TErrorLog ErrorLog();

  /// What "Close the program" does: closes every window and quits. Tests replace it.
  static std::function<void()> QuitProgram;
};

/// Runs one handler. An error it raises ends it and is reported right here, naming Where, so
/// that no exception ever unwinds through Qt's own frames (which leaks and is undefined there).
void RunHandler(const std::function<void()>& Handler, const QString& Where = {});

/// "Control.signal" for a handler run by a signal: the sender's name and the signal's.
QString SignalWhere(const QObject* Sender, int SignalIndex);
