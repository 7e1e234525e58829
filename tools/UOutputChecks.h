#pragma once
// Checks that keep the runner's outputs from damaging its inputs or each other, and from
// failing unnoticed.

#include <QByteArray>
#include <QString>

/// What a run reads and writes, names in the system's bytes; an empty name is not used.
struct TRunFiles {
  QByteArray Circuit;    ///< read before the run
  QByteArray Csv;        ///< written at the end of the run
  QByteArray FrameBase;  ///< frames BASE_0001.bmp up to BASE_<Moves>.bmp
  int Moves = 0;
};

/// Why the run must not start because an output would replace an input or another output, or
/// an empty string. Files are the same when they are one file on disk (links followed, hard
/// links included) or, where they do not exist yet, when their resolved paths are equal.
QString FindOutputClash(const TRunFiles& Files);

/// Hands everything printed so far to the system; the system's reason when that or any earlier
/// write to standard output failed, an empty string otherwise.
QString StandardOutputFailure();
