#pragma once
// What one error report says: the error, where and when it happened, and the program's state.

#include <QDateTime>
#include <QString>
#include <functional>

/// Every report in the error log begins with a line starting so; the log is cut before such lines.
inline constexpr char ReportMarker[] = "==== ";

/// One error that ended a handler. Text() is what is logged, copied, saved and sent.
struct TErrorReport {
  QString Message;          ///< the error's own text
  QString Where;            ///< the handler or object it came from; may be empty
  QDateTime Time;           ///< local time it was caught
  QString Version;          ///< the program's version
  bool RunStopped = false;  ///< the error ended the run loop
  QString Details;          ///< the window's settings, as its provider gave them
  QString Environment;      ///< Qt and system versions

  /// Where, when and which version, one fact a line.
  QString Summary() const;
  /// The whole report, starting with a ReportMarker line and ending with a line break.
  QString Text() const;
};

/// Gathers a report. Details is the window's provider; it may be empty, and an error it raises
/// is written into the report instead of the settings.
TErrorReport ComposeErrorReport(const QString& Message, const QString& Where,
                                const std::function<QString()>& Details);

/// Qt's version, the system's name and kernel, the processor.
QString EnvironmentDescription();

/// Called by the run loop when an error ends it: the next report says so, and only that one.
void NoteRunStopped();
