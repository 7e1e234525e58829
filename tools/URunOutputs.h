#pragma once
// Every output of one kartrun run: checked before the run starts, written as the run goes or at
// its end, and given their names together once all are whole, or none of them.

#include <QImage>
#include <cstdio>
#include <memory>
#include <vector>

#include "io/UAtomicFile.h"
#include "io/UAtomicFolder.h"
#include "io/UOutputFile.h"
#include "tools/UKartRunOptions.h"

class TRaceLog;
struct TRunFacts;
struct TScenario;

/// A name that leads to a regular file or to nothing is written beside it and renamed at the end;
/// "-", a FIFO or a character device is written directly (CSV, laps, saved scenario only); the
/// report folder is made beside its name and swapped in. Nothing else is ever written to.
class TRunOutputs {
 public:
  /// Before anything is read: ends the program with a message when an output would replace an
  /// input, another output or what is printed (status 2), or when the file system would refuse
  /// one (status 1). A name that is standard output's own file becomes "-".
  static void Check(TRunSettings& S);

  /// Before the first move: the temporary files and folder are made and the streams opened
  /// (waiting, with a word on standard error, for the reader of a FIFO). Ends the program with
  /// status 1 on failure.
  void Open(const TRunSettings& Settings);

  /// Where the summary goes: standard output, unless an output streams there (then standard
  /// error).
  std::FILE* Summary() const { return SummaryStream; }

  /// The state CSV, open when asked for.
  TOutputFile Csv;

  /// Saves the frame of Move under a temporary name, to be renamed with the rest.
  void AddFrame(const QImage& Picture, int32_t Move);

  /// After the summary: writes the laps, the report and the scenario (when asked for), then
  /// gives every output its name, all together or none. Ends the program with status 1, every
  /// earlier file as it was, when anything fails.
  void Finish(const TRaceLog& Log, const QImage& Circuit, const TRunFacts& Run,
              const TScenario* Scenario);

 private:
  const TRunSettings* S = nullptr;
  std::FILE* SummaryStream = stdout;
  TOutputFile Laps;
  TOutputFile SavedScenario;
  TAtomicFolder Report;
  std::vector<std::unique_ptr<TAtomicFile>> Frames;
};
