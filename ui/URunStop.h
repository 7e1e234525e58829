#pragma once
// A run ended by an error must look ended.

#include <QAbstractButton>
#include <QPointer>
#include <exception>

#include "report/UErrorReport.h"

/// Lives in the run loop. When an error leaves the loop, Pause is pressed (releasing Run) and the
/// error's report says the run was stopped. A button already gone is left alone.
class TReleaseRunOnError {
 public:
  explicit TReleaseRunOnError(QAbstractButton& APause)
      : Pause(&APause), ErrorsBefore(std::uncaught_exceptions()) {}
  TReleaseRunOnError(const TReleaseRunOnError&) = delete;
  TReleaseRunOnError& operator=(const TReleaseRunOnError&) = delete;

  ~TReleaseRunOnError() {
    if (std::uncaught_exceptions() <= ErrorsBefore) return;
    NoteRunStopped();
    // While an error unwinds, nothing may throw: a second error would end the program.
    try {
      if (Pause) Pause->setChecked(true);
    } catch (...) {
    }
  }

 private:
  QPointer<QAbstractButton> Pause;
  int ErrorsBefore;
};
