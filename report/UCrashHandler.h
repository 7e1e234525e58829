#pragma once
// Fatal faults: a short report with a backtrace, written as the program dies and offered once at
// the next start.

#include <QString>

#include "report/UErrorLog.h"

class QWidget;

/// From now on a fatal signal (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL) appends a crash report
/// with a backtrace to Log's file, keeps a copy marked unseen beside it, and then ends the
/// program as the signal would have. Every path is fixed here: the handler only writes. Does
/// nothing where the system offers no backtrace.
void InstallCrashHandler(const TErrorLog& Log);

/// The crash report not yet offered, taken once: it is empty until the next crash.
QString TakeUnseenCrashReport(const TErrorLog& Log);

/// Tells the user that the last run crashed and where its report lies; the report itself is one
/// click away.
void OfferCrashReport(QWidget* Parent, const QString& Report, const QString& LogPath);
