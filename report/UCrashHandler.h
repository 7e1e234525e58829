#pragma once
// Fatal faults: a short report with a backtrace, written as the program dies and logged and
// offered once at the next start.

#include <QString>

#include "report/UErrorLog.h"

class QWidget;

/// From now on a fatal signal (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL) writes a crash report
/// beside Log's file (TErrorLog::CrashMarkerName) and then ends the program as the signal would
/// have. Its backtrace names every frame from the symbol table, with file and line where debug
/// information is present, or gives the frame's file and offset. Every path is fixed here: the
/// handler only writes. Does nothing where the build has no libbacktrace.
void InstallCrashHandler(const TErrorLog& Log);

/// The crash reports not yet offered, taken once, with their names demangled; they are added
/// to Log (within its limit) as they are taken. Empty until the next crash.
QString TakeUnseenCrashReport(const TErrorLog& Log);

/// Tells the user that the last run crashed and where its report was logged, in a
/// TCrashReportBox that shows, copies and sends the report.
void OfferCrashReport(QWidget* Parent, const QString& Report, const QString& LogPath);
