// kartrun: the whole simulation without a window. Karts are added and set up the way the
// window does it, every move is Redraw + ThinkAndMove(budget, 100) as in the window's run loop,
// and at the end a summary per kart is printed. main reads as its stages: options, outputs, the
// race, the moves, the summary.

#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UCircuitFile.h"
#include "io/UDefaultCircuit.h"
#include "io/UMoveEstimate.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "tools/UKartRunOptions.h"
#include "tools/UNativeNames.h"
#include "tools/UOutputChecks.h"
#include "tools/URunOutputs.h"
#include "tools/URunReport.h"
#include "world/URaceLog.h"
#include "world/URaceSetup.h"
#include "world/UStartGrid.h"
#include "world/UTrack2D.h"

namespace {

volatile std::sig_atomic_t StopAsked = 0;

/// The first Ctrl+C (or termination) ends the run after the move under way, removing every
/// unfinished output on the way out; a second one ends it at once.
extern "C" void AskToStop(int Signal) {
  if (StopAsked) {
    std::signal(Signal, SIG_DFL);
    std::raise(Signal);
    return;
  }
  StopAsked = 1;
  static const char Note[] =
      "\nkartrun: stopping after the move under way (again to stop at once, leaving temporary "
      "files)\n";
  [[maybe_unused]] const ssize_t Written = write(STDERR_FILENO, Note, sizeof Note - 1);
}

QString ColorName(int Index, TColor C) {
  if (Index < 5) return KartColorNames[Index];
  return QStringLiteral("#%1%2%3")
      .arg(C & 0xFF, 2, 16, QChar('0'))
      .arg((C >> 8) & 0xFF, 2, 16, QChar('0'))
      .arg((C >> 16) & 0xFF, 2, 16, QChar('0'));
}

void WriteCsvRows(TOutputFile& Csv, int64_t Move, const TKartList& Karts) {
  char Field[64];
  for (size_t I = 0; I < Karts.size(); ++I) {
    const TState& S = *Karts[I]->RealState;
    std::snprintf(Field, sizeof Field, "%lld,%zu,%.10g,%d", static_cast<long long>(Move), I + 1,
                  S.Score, Karts[I]->ShapeOnTrack() ? 0 : 1);
    Csv.Write(Field);
    for (const auto& Param : S.Params) {
      std::snprintf(Field, sizeof Field, ",%.10g", Param->Value);
      Csv.Write(Field);
    }
    Csv.Write("\n");
  }
}

// Every CSV write is checked as it happens: the first failure ends the run, and an unfinished
// file is removed on the way out (a stream keeps what it was sent).
void CheckCsv(const TOutputFile& Csv, const TRunSettings& S, int Move) {
  if (Csv.Failed())
    Fail(QStringLiteral("cannot write --csv '%1': %2 (at move %3)%4")
             .arg(S.Csv, QString::fromLocal8Bit(Csv.Error().c_str()))
             .arg(Move)
             .arg(Csv.IsStream() ? QStringLiteral(".") : QStringLiteral("; no CSV was left.")),
         1);
}

/// The circuit the run starts on: built in, or a BMP checked before it is used.
QImage ReadCircuit(const TRunSettings& S) {
  if (S.Circuit.isEmpty()) {
    QImage Circuit = DefaultCircuitImage();
    if (Circuit.isNull()) Fail("the built-in circuit is missing from this program.", 1);
    return Circuit;
  }
  TCircuitPicture Read = ReadCircuitPictureNative(NativeName(S.Circuit));
  if (!Read.Ok()) Fail(Read.Error, 1);
  return Read.Picture;
}

/// The race of one run: its circuit, track, karts and log, set up as the window sets them up
/// (or taken up from a scenario).
struct TRunRace {
  QImage Circuit;
  std::unique_ptr<TQtPicture> Picture;
  TTrack2D Track;
  TKartList Karts;
  std::vector<TPlayer2D*> Planar;
  TRaceLog Log;  ///< laps and the figures of every move, as the window's race table counts them
  uint64_t Seed = 0;
  int64_t FirstMove = 0;
};

/// Sets up Race from the settings or the scenario; the scenario's own settings replace those of
/// S that it holds.
void SetUpRace(TRunSettings& S, TRunRace& Race) {
  TScenarioRead Kept;
  if (!S.Scenario.isEmpty()) {
    Kept = ReadScenarioFile(S.Scenario);
    if (!Kept.Ok()) Fail(Kept.Error, 1);
    // What the run prints and how it thinks come from the file.
    S.Karts = static_cast<int>(Kept.Scenario.Karts.size());
    S.Track = Kept.Scenario.Track;
    S.Futures = Kept.Scenario.FixedPasses;
    S.BudgetMs = Kept.Scenario.BudgetMs;
    S.Seed = Kept.Scenario.Seed;
    S.Kart.Grid = Kept.Scenario.Karts.front().GridSize;
    Race.Circuit = Kept.Scenario.Circuit;
  } else {
    Race.Circuit = ReadCircuit(S);
  }

  Race.Seed = S.Seed ? *S.Seed : RandomSeedFromClock();
  RandomSeed(Race.Seed);
  Race.Picture = std::make_unique<TQtPicture>(Race.Circuit);
  TTrack2D& Track = Race.Track;
  Track.SetImage(Race.Picture.get());
  ApplyTrackSettings(Track, S.Track);
  Track.FixedPasses = S.Futures;
  Track.Seed = Race.Seed;
  Track.Threads = S.Threads;
  Track.Simd = S.Simd;
  for (int I = 0; I < S.Karts; ++I) AddKart(Track, Race.Karts, S.Kart);
  // A kept race replaces the karts and settings and takes up the random source where it was.
  if (!S.Scenario.isEmpty()) {
    Race.FirstMove = Kept.Scenario.MoveNumber;
    RestoreRace(Kept.Scenario, Track, Race.Karts);
  } else if (S.Start == TStartPlace::Grid || (S.Start == TStartPlace::Default && S.Karts > 1)) {
    std::string Problem;
    if (!LineUpOnGrid(Track, Race.Karts, Problem)) {
      std::fprintf(stderr, "kartrun: %s\n", Problem.c_str());
      S.Start = TStartPlace::Pile;
    }
  }
  Track.Redraw();
  Race.Log.HistoryLimit = S.Report.isEmpty() ? 1 : 0;
  for (const auto& K : Race.Karts) Race.Planar.push_back(K.get());
  Race.Log.BeginAt(Track, *Race.Karts.front());
  Race.Log.Follow(Race.Planar);
}

/// Before the run: it must stay within the move numbers a race counts, and a run whose moves will
/// take far longer than their budget is said to be so, once.
void CheckRunLength(const TRunSettings& S, const TRunRace& Race) {
  if (Race.FirstMove + S.Moves > MaxMoveNumber)
    Fail(QStringLiteral("--moves %1 would take the race past move %2, the most a race counts (the "
                        "scenario is at move %3).")
             .arg(S.Moves)
             .arg(MaxMoveNumber)
             .arg(Race.FirstMove));
  const TMoveEstimate Expected = MeasureMove(Race.Track, Race.Karts, S.BudgetMs);
  if (FarBeyondBudget(Expected, S.BudgetMs))
    std::fprintf(stderr, "kartrun: %s.\n",
                 qPrintable(LongRunWarning(Expected, S.BudgetMs, S.Moves)));
}

void PrintRunHeader(std::FILE* Out, const TRunSettings& S, const TRunRace& Race) {
  std::fprintf(Out, "kartrun: %d move%s of %d kart%s on %s, seed %llu%s\n", S.Moves,
               S.Moves == 1 ? "" : "s", S.Karts, S.Karts == 1 ? "" : "s",
               !S.Scenario.isEmpty() ? "the circuit of the scenario"
               : S.Circuit.isEmpty() ? "the built-in circuit"
                                     : NativeName(S.Circuit).constData(),
               static_cast<unsigned long long>(Race.Seed), S.Seed ? "" : " (from the clock)");
  std::fprintf(Out,
               "settings: friction %g, side friction %g, %d s futures, grid %d%s, collisions %s, "
               "%s decisions, %s%s, ",
               S.Track.Friction, S.Track.SideFriction, S.Track.Seconds, S.Kart.Grid,
               S.Kart.AutoGrid ? "" : " (fixed)", S.Track.Collisions ? "on" : "off",
               S.Kart.Refined ? "refined" : "averaged",
               S.Track.TeamScore ? "team scoring" : "individual scoring",
               S.Track.RaceDirection ? " racing the lap direction" : "");
  if (S.Futures > 0)
    std::fprintf(Out, "%d futures per move (fixed)\n",
                 std::max(S.Futures, S.Track.TeamScore ? MinTeamFutures : MinFutures));
  else
    std::fprintf(Out, "budget %d ms\n", S.BudgetMs);
  CheckPrinted(Out);
}

/// Every move as the window's run loop makes it, with its rows, frame and progress line; the
/// seconds spent thinking.
double RunMoves(const TRunSettings& S, TRunRace& Race, TRunOutputs& Outputs) {
  double SecondsThinking = 0;
  const bool Tty = isatty(fileno(stderr));
  const int ProgressEvery = std::max(1, S.Moves / 10);
  // The moves start from the seed itself, whatever setting up the karts drew: a window run
  // seeded at its first move repeats this run. A kept race goes on with its own random source.
  if (S.Scenario.isEmpty()) RandomSeed(Race.Seed);
  for (int Move = 1; Move <= S.Moves; ++Move) {
    if (StopAsked)
      Fail(QStringLiteral("stopped by a signal before move %1; no output was written.").arg(Move),
           130);
    Race.Track.Redraw();
    const auto T0 = std::chrono::steady_clock::now();
    try {
      Race.Track.ThinkAndMove(S.BudgetMs, TimeStepMs);
    } catch (const std::exception& E) {
      Fail(QStringLiteral("move %1 failed: %2").arg(Move).arg(E.what()), 1);
    }
    SecondsThinking += std::chrono::duration<double>(std::chrono::steady_clock::now() - T0).count();
    Race.Log.Record(Race.Planar, Race.Track.LastPasses);
    if (Outputs.Csv.IsOpen()) {
      WriteCsvRows(Outputs.Csv, Race.FirstMove + Move, Race.Karts);
      Outputs.Csv.Flush();
      CheckCsv(Outputs.Csv, S, Move);
    }
    if (!S.Frames.isEmpty()) Outputs.AddFrame(Race.Picture->Image(), Move);
    if (Tty || Move % ProgressEvery == 0 || Move == S.Moves) {
      std::fprintf(stderr, "%smove %d/%d, %.1f s, %d futures, kart #1 at (%.0f, %.0f)%s",
                   Tty ? "\r" : "", Move, S.Moves, SecondsThinking, Race.Track.LastPasses,
                   Race.Karts[0]->PosX(), Race.Karts[0]->PosY(), Tty ? "   " : "\n");
      std::fflush(stderr);
    }
  }
  if (Tty) std::fprintf(stderr, "\n");
  return SecondsThinking;
}

/// The table of every kart's figures, as the race log counted them, and the lap table.
TRunFacts PrintSummary(std::FILE* Out, const TRunSettings& S, const TRunRace& Race,
                       double SecondsThinking) {
  const double SimSeconds = S.Moves * TimeStepMs / 1000.0;
  const double MsPerMove = SecondsThinking * 1000 / S.Moves;
  std::fprintf(Out,
               "\nkart  colour   distance  mean speed  off road  futures/move  min  distinct  "
               "ms/move  ends at\n");
  std::fprintf(Out,
               "                    (px)      (px/s)             (mean)               (mean)\n");
  for (size_t I = 0; I < Race.Karts.size(); ++I) {
    const TKartRecord& R = Race.Log.Records()[I];
    const TKart& K = *Race.Karts[I];
    std::fprintf(Out, "#%-4zu %-7s %9.1f %11.2f %8.1f%% %13.1f %4d %9.1f %8.1f  (%.0f, %.0f)\n",
                 I + 1, qPrintable(ColorName(static_cast<int>(I), K.Color)), R.Distance,
                 R.Distance / SimSeconds, 100.0 * R.OffRoadMoves / R.Moves, R.FuturesPerMove(),
                 R.FewestFutures, R.DistinctPerMove(), MsPerMove, K.PosX(), K.PosY());
  }
  TRunFacts Run{Race.Seed,
                S.Moves,
                S.Futures,
                MsPerMove,
                S.Circuit.isEmpty() ? QStringLiteral("built-in") : S.Circuit,
                {},
                {},
                RunSettingsJson(S, Race.Seed)};
  for (size_t I = 0; I < Race.Karts.size(); ++I) {
    Run.Colors.push_back(Race.Karts[I]->Color);
    Run.ColorNames << ColorName(static_cast<int>(I), Race.Karts[I]->Color);
  }
  PrintLapSummary(Out, Race.Log, Run);
  return Run;
}

}  // namespace

int main(int Argc, char** Argv) {
  // Report pictures carry text, which needs fonts, and their charts Qt Widgets' graphics items;
  // no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(Argc, Argv);
  QCoreApplication::setApplicationName("kartrun");
  // A file-size limit must fail the write (EFBIG), not kill the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);

  // A reader that goes away fails the write (EPIPE) with a message, instead of ending the run.
  std::signal(SIGPIPE, SIG_IGN);
  for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(Signal, AskToStop);

  // Options. Names as the system gave them: QCoreApplication::arguments() loses bytes that are
  // not UTF-8.
  TRunSettings S = ReadRunOptions(ArgumentsAsGiven(Argc, Argv));
  // Outputs: checked before anything is read or written.
  TRunOutputs::Check(S);
  // The race.
  TRunRace Race;
  SetUpRace(S, Race);
  CheckRunLength(S, Race);
  TRunOutputs Outputs;
  Outputs.Open(S);
  if (Outputs.Csv.IsOpen()) {
    Outputs.Csv.Write("move,kart,score,offtrack");
    for (const auto& Param : Race.Karts[0]->RealState->Params) Outputs.Csv.Write("," + Param->Name);
    Outputs.Csv.Write("\n");
    WriteCsvRows(Outputs.Csv, Race.FirstMove, Race.Karts);
    Outputs.Csv.Flush();
    CheckCsv(Outputs.Csv, S, 0);
  }
  PrintRunHeader(Outputs.Summary(), S, Race);

  // The moves.
  const double SecondsThinking = RunMoves(S, Race, Outputs);

  // The summary, then every output is written whole and takes its name.
  const TRunFacts Run = PrintSummary(Outputs.Summary(), S, Race, SecondsThinking);
  std::unique_ptr<TScenario> Kept;
  if (!S.SaveScenario.isEmpty())
    Kept = std::make_unique<TScenario>(CaptureScenario(Race.Track, Race.Karts, Race.Track.Seed,
                                                       Race.Track.MoveNumber, S.BudgetMs));
  Outputs.Finish(Race.Log, Race.Circuit, Run, Kept.get());
  return 0;
}
