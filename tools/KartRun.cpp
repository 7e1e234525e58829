// kartrun: the whole simulation without a window. Karts are added and set up the way the
// window does it, every move is Redraw + ThinkAndMove(budget, 100) as in the window's run loop,
// and at the end a summary per kart is printed.

#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UAtomicFile.h"
#include "io/UCircuitFile.h"
#include "io/UDefaultCircuit.h"
#include "io/UFrameFile.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "tools/UNativeNames.h"
#include "tools/UOutputChecks.h"
#include "tools/URunReport.h"
#include "world/URaceLog.h"
#include "world/URaceSetup.h"
#include "world/UThinkPool.h"
#include "world/UTrack2D.h"

namespace {

struct TSettings {
  QString Circuit;  // empty: the built-in one
  int Karts = 1;
  int Moves = 600;
  std::optional<uint64_t> Seed;
  int Futures = 0;  // 0: the time budget decides
  int BudgetMs = MoveBudgetMs;
  int Threads = 0;  // 0: every core
  TSimd Simd = TSimd::Best;
  TTrackSettings Track;
  TKartSettings Kart;  // every kart's
  QString Csv;
  QString Frames;
  QString Scenario;      // empty: a new race
  QString SaveScenario;  // empty: none written
  QString Laps;          // CSV of every lap
  QString Report;        // folder of report pictures and summary.json
};

struct TKartStats {
  double Distance = 0;
  int OffTrackMoves = 0;
  int64_t DistinctFutures = 0;
};

[[noreturn]] void Fail(const QString& Message, int Code = 2) {
  std::fprintf(stderr, "kartrun: %s\n", qPrintable(Message));
  if (Code == 2) std::fprintf(stderr, "Try 'kartrun --help' for the options.\n");
  std::exit(Code);
}

// A whole number or a decimal within [Min, Max], or a clear message naming the option.
template <typename T>
T ReadNumber(const QCommandLineParser& P, const QString& Name, T Min, T Max) {
  const QString Text = P.value(Name);
  bool Ok = false;
  T V{};
  if constexpr (std::is_integral_v<T>) {
    V = static_cast<T>(Text.toLongLong(&Ok));
    Ok = Ok && Text.toLongLong() >= Min && Text.toLongLong() <= Max;
  } else {
    V = Text.toDouble(&Ok);
    Ok = Ok && V >= Min && V <= Max;  // also refuses nan
  }
  if (!Ok)
    Fail(QStringLiteral("--%1 takes a %2 from %3 to %4, not '%5'.")
             .arg(Name,
                  std::is_integral_v<T> ? QStringLiteral("whole number") : QStringLiteral("number"))
             .arg(Min)
             .arg(Max)
             .arg(Text));
  return V;
}

TSettings ParseCommandLine(const QStringList& Arguments) {
  QCommandLineParser P;
  P.setApplicationDescription(
      "Runs the kart simulation without a window and prints, per kart, the distance driven,\n"
      "the mean speed, the share of moves ending with the kart's outline off the road, the\n"
      "futures imagined per move and the time per move.\n"
      "Karts are added as the window adds them: the first at x 200, y 460 heading down the\n"
      "picture, each further one a copy of the one before. Every move is one redraw and one\n"
      "think-and-move step with the window's budget and a 100 ms time step.\n"
      "Settings not given are the window's start-up settings.");
  P.addHelpOption();
  const TTrackSettings T;
  const TKartSettings K;
  // "Text (default D)." with the default as the program has it.
  auto Def = [](const char* Text, auto Default) {
    return QStringLiteral("%1 (default %2).").arg(QString::fromUtf8(Text)).arg(Default);
  };
  P.addOptions({
      {"circuit",
       "Circuit picture: a BMP file, pure black is off the road (default: the built-in "
       "circuit).",
       "file"},
      {{"k", "karts"}, "Number of karts, 1 to 100 (default 1).", "n", "1"},
      {{"m", "moves"}, "Number of moves of 100 ms to run, 1 to 1000000 (default 600).", "n", "600"},
      {"seed", "Seed of the random source (default: from the clock, printed at the start).", "n"},
      {"futures",
       QStringLiteral("Imagine exactly max(n, %1) futures per kart and move (%2 when thinking as "
                      "a team) instead of filling the time budget; the clock is then never read, "
                      "so with --seed a run repeats exactly. 1 to 100000.")
           .arg(MinFutures)
           .arg(MinTeamFutures),
       "n"},
      {"budget", Def("Time budget of a move in ms, 0 to 10000", MoveBudgetMs), "ms"},
      {"threads",
       QStringLiteral("Threads that imagine the futures, 1 to 256 (default: every core, %1 here); "
                      "results are the same for any count.")
           .arg(TThinkPool::CoreCount()),
       "n"},
      {"simd",
       QStringLiteral("Futures side by side on each thread: scalar, sse2, avx2 or avx512 "
                      "(default: the widest this processor runs, %1 here); results are the same "
                      "for every width.")
           .arg(SimdName(BestSimd())),
       "width"},
      {"friction", Def("Road friction coefficient, 0.001 to 0.3", T.Friction), "f"},
      {"side-friction", Def("Sideways friction coefficient, 0 to 1", T.SideFriction), "f"},
      {"seconds", Def("Seconds of simulated future, 1 to 20", T.Seconds), "s"},
      {"grid", Def("End-point grid size in pixels, 5 to 25", K.Grid), "px"},
      {"max-power", Def("Engine max. power of every kart, 1 to 25", K.MaxPower), "p"},
      {"max-turn", Def("Max. wheel angle of every kart in degrees, 10 to 90", K.MaxTurnDeg), "deg"},
      {"size", Def("Kart size in pixels, 4 to 40", K.Size), "px"},
      {"no-collisions", "Let karts drive through each other (default: collisions on)."},
      {"no-refined", "Use the plain averaged decision (default: refined decisions)."},
      {"team", "Think as a team: futures are weighed by the mean score of all karts."},
      {"csv", "Write every kart's real state after every move to this CSV file.", "file"},
      {"frames",
       "Save the picture after every move as BASE_0001.bmp, BASE_0002.bmp, ... as the window "
       "would show it.",
       "base"},
      {"laps",
       "Write every lap of every kart (kart, lap, seconds, move) to this CSV file. A lap counts "
       "when a kart crosses the start line (the road's cross-section through kart #1's start, "
       "across its heading) in the start direction after going round.",
       "file"},
      {"report",
       "Write into this folder each kart's path over the circuit coloured by speed, speed and "
       "futures per move over time and lap times as PNG pictures, and the summary's figures as "
       "summary.json.",
       "folder"},
      {"debug-level",
       "What the frames show of the thinking, for every kart: 0 nothing, 1 traces of the "
       "futures, 2 also their end points (default 0).",
       "n"},
      {"scenario",
       "Go on with the race kept in this scenario file: its circuit, karts, settings, futures "
       "mode, move number and random source; --moves says how many more moves.",
       "file"},
      {"save-scenario", "Write the race as it stands at the end of the run to this scenario file.",
       "file"},
  });
  if (!P.parse(Arguments)) Fail(P.errorText());
  if (P.isSet("help")) {
    // Longer than the stream's buffer: the failing write is part of this call, so its reason
    // is read here.
    errno = 0;
    if (std::fputs(qPrintable(P.helpText()), stdout) == EOF)
      Fail(QStringLiteral("cannot write to standard output: %1")
               .arg(QString::fromLocal8Bit(std::strerror(errno ? errno : EIO))),
           1);
    if (const QString Error = StandardOutputFailure(); !Error.isEmpty())
      Fail("cannot write to standard output: " + Error, 1);
    std::exit(0);
  }
  if (!P.positionalArguments().isEmpty())
    Fail(QStringLiteral("unexpected argument '%1' (a circuit is given with --circuit).")
             .arg(P.positionalArguments().first()));

  TSettings S;
  S.Circuit = P.value("circuit");
  if (P.isSet("circuit") && S.Circuit.isEmpty()) Fail("--circuit needs a file name.");
  S.Karts = ReadNumber(P, "karts", 1, 100);
  S.Moves = ReadNumber(P, "moves", 1, 1000000);
  if (P.isSet("seed")) {
    bool Ok = false;
    S.Seed = P.value("seed").toULongLong(&Ok);
    if (!Ok)
      Fail(QStringLiteral("--seed takes a whole number from 0 to 18446744073709551615, not '%1'.")
               .arg(P.value("seed")));
  }
  if (P.isSet("futures")) S.Futures = ReadNumber(P, "futures", 1, 100000);
  // An option not given keeps the default of its field.
  auto Read = [&P](const QString& Name, auto& Field, auto Min, auto Max) {
    if (P.isSet(Name)) Field = ReadNumber(P, Name, Min, Max);
  };
  Read("budget", S.BudgetMs, 0, 10000);
  Read("threads", S.Threads, 1, 256);
  if (P.isSet("simd")) {
    const std::optional<TSimd> Width = ParseSimd(P.value("simd").toStdString());
    if (!Width || *Width == TSimd::Best)
      Fail(QStringLiteral("--simd takes scalar, sse2, avx2 or avx512, not '%1'.")
               .arg(P.value("simd")));
    try {
      S.Simd = ResolveSimd(*Width);
    } catch (const EModelError& E) {
      Fail(QString::fromStdString(E.what()));
    }
  }
  Read("friction", S.Track.Friction, 0.001, 0.3);
  Read("side-friction", S.Track.SideFriction, 0.0, 1.0);
  Read("seconds", S.Track.Seconds, 1, 20);
  Read("grid", S.Kart.Grid, 5, 25);
  Read("max-power", S.Kart.MaxPower, 1.0, 25.0);
  Read("max-turn", S.Kart.MaxTurnDeg, 10.0, 90.0);
  Read("size", S.Kart.Size, 4.0, 40.0);
  S.Track.Collisions = !P.isSet("no-collisions");
  S.Kart.Refined = !P.isSet("no-refined");
  S.Track.TeamScore = P.isSet("team");
  S.Csv = P.value("csv");
  S.Frames = P.value("frames");
  if (P.isSet("csv") && S.Csv.isEmpty()) Fail("--csv needs a file name.");
  if (P.isSet("frames") && S.Frames.isEmpty()) Fail("--frames needs a base name.");
  S.Laps = P.value("laps");
  S.Report = P.value("report");
  if (P.isSet("laps") && S.Laps.isEmpty()) Fail("--laps needs a file name.");
  if (P.isSet("report") && S.Report.isEmpty()) Fail("--report needs a folder name.");
  int32_t Level = 0;
  Read("debug-level", Level, 0, 2);
  S.Kart.DebugLevel = static_cast<TDebugLevel>(Level);
  if (P.isSet("debug-level") && S.Frames.isEmpty())
    Fail("--debug-level only changes what --frames saves; give --frames too.");
  S.Scenario = P.value("scenario");
  S.SaveScenario = P.value("save-scenario");
  if (P.isSet("scenario") && S.Scenario.isEmpty()) Fail("--scenario needs a file name.");
  if (P.isSet("save-scenario") && S.SaveScenario.isEmpty())
    Fail("--save-scenario needs a file name.");
  // The file holds the whole race: a setting given beside it would be silently lost.
  for (const char* Held :
       {"circuit", "karts", "seed", "futures", "budget", "friction", "side-friction", "seconds",
        "grid", "max-power", "max-turn", "size", "no-collisions", "no-refined", "team"})
    if (P.isSet("scenario") && P.isSet(Held))
      Fail(QStringLiteral("--%1 cannot be given with --scenario, which holds it.").arg(Held));
  return S;
}

QString ColorName(int Index, TColor C) {
  if (Index < 5) return KartColorNames[Index];
  return QStringLiteral("#%1%2%3")
      .arg(C & 0xFF, 2, 16, QChar('0'))
      .arg((C >> 8) & 0xFF, 2, 16, QChar('0'))
      .arg((C >> 16) & 0xFF, 2, 16, QChar('0'));
}

void WriteCsvRows(TAtomicFile& Csv, int Move, const TKartList& Karts) {
  char Field[64];
  for (size_t I = 0; I < Karts.size(); ++I) {
    const TState& S = *Karts[I]->RealState;
    std::snprintf(Field, sizeof Field, "%d,%zu,%.10g,%d", Move, I + 1, S.Score,
                  Karts[I]->ShapeOnTrack() ? 0 : 1);
    Csv.Write(Field);
    for (const auto& Param : S.Params) {
      std::snprintf(Field, sizeof Field, ",%.10g", Param->Value);
      Csv.Write(Field);
    }
    Csv.Write("\n");
  }
}

// Every CSV write is checked as it happens: the first failure ends the run, and the unfinished
// file is removed on the way out.
void CheckCsv(const TAtomicFile& Csv, const TSettings& S, int Move) {
  if (Csv.Failed())
    Fail(QStringLiteral("cannot write the CSV file '%1': %2 (at move %3); no CSV was left.")
             .arg(S.Csv, QString::fromLocal8Bit(Csv.Error().c_str()))
             .arg(Move),
         1);
}

void CheckStandardOutput() {
  if (const QString Error = StandardOutputFailure(); !Error.isEmpty())
    Fail("cannot write to standard output: " + Error, 1);
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
  // Names as the system gave them: QCoreApplication::arguments() loses bytes that are not UTF-8.
  TSettings S = ParseCommandLine(ArgumentsAsGiven(Argc, Argv));
  if (const QString Clash = FindOutputClash(
          {NativeName(S.Circuit), NativeName(S.Csv), NativeName(S.Frames), S.Moves});
      !Clash.isEmpty())
    Fail(Clash);
  if (!S.SaveScenario.isEmpty())
    for (const QString& Other : {S.Scenario, S.Csv, S.Frames})
      if (const QString Clash =
              FindOutputClash({NativeName(Other), NativeName(S.SaveScenario), {}, S.Moves});
          !Clash.isEmpty())
        Fail(Clash);
  TScenarioRead Kept;
  if (!S.Scenario.isEmpty()) {
    if (const QString Clash = FindOutputClash(
            {NativeName(S.Scenario), NativeName(S.Csv), NativeName(S.Frames), S.Moves});
        !Clash.isEmpty())
      Fail(Clash);
    Kept = ReadScenarioFile(S.Scenario);
    if (!Kept.Ok()) Fail(Kept.Error, 1);
    // What the run prints and how it thinks come from the file.
    S.Karts = static_cast<int>(Kept.Scenario.Karts.size());
    S.Track = Kept.Scenario.Track;
    S.Futures = Kept.Scenario.FixedPasses;
    S.BudgetMs = Kept.Scenario.BudgetMs;
    S.Seed = Kept.Scenario.Seed;
    S.Kart.Grid = Kept.Scenario.Karts.front().GridSize;
  }
  // The laps file is checked as the CSV is: against the circuit and the frames.
  if (QString Clash = FindOutputClash(
          {NativeName(S.Circuit), NativeName(S.Laps), NativeName(S.Frames), S.Moves});
      !S.Laps.isEmpty() && !Clash.isEmpty())
    Fail(Clash.replace(QStringLiteral("--csv"), QStringLiteral("--laps")));
  if (!S.Laps.isEmpty() && NativeName(S.Laps) == NativeName(S.Csv))
    Fail("--laps and --csv name the same file.");

  // The circuit: built in, or a BMP checked before it is used.
  QImage Circuit;
  if (!S.Scenario.isEmpty()) {
    Circuit = Kept.Scenario.Circuit;
  } else if (S.Circuit.isEmpty()) {
    Circuit = DefaultCircuitImage();
    if (Circuit.isNull()) Fail("the built-in circuit is missing from this program.", 1);
  } else {
    const TCircuitPicture Read = ReadCircuitPictureNative(NativeName(S.Circuit));
    if (!Read.Ok()) Fail(Read.Error, 1);
    Circuit = Read.Picture;
  }

  const uint64_t Seed = S.Seed ? *S.Seed : RandomSeedFromClock();
  RandomSeed(Seed);

  TQtPicture Picture(Circuit);
  TTrack2D Track;
  Track.SetImage(&Picture);
  ApplyTrackSettings(Track, S.Track);
  Track.FixedPasses = S.Futures;
  Track.Seed = Seed;
  Track.Threads = S.Threads;
  Track.Simd = S.Simd;
  TKartList Karts;
  for (int I = 0; I < S.Karts; ++I) AddKart(Track, Karts, S.Kart);
  // A kept race replaces the karts and settings and takes up the random source where it was.
  const int64_t FirstMove = S.Scenario.isEmpty() ? 0 : Kept.Scenario.MoveNumber;
  if (!S.Scenario.isEmpty()) RestoreRace(Kept.Scenario, Track, Karts);
  Track.Redraw();
  // Laps and the figures of every move, as the window's race table counts them.
  TRaceLog Log;
  Log.HistoryLimit = S.Report.isEmpty() ? 1 : 0;
  std::vector<TPlayer2D*> Planar;
  for (const auto& K : Karts) Planar.push_back(K.get());
  Log.BeginAt(Track, *Karts.front());
  Log.Follow(Planar);

  // Written beside its name and renamed there only when the run has ended well.
  TAtomicFile Csv;
  if (!S.Csv.isEmpty()) {
    if (!Csv.Open(NativeName(S.Csv).toStdString()))
      Fail(QStringLiteral("cannot write the CSV file '%1': %2.")
               .arg(S.Csv, QString::fromLocal8Bit(Csv.Error().c_str())),
           1);
    Csv.Write("move,kart,score,offtrack");
    for (const auto& Param : Karts[0]->RealState->Params) Csv.Write("," + Param->Name);
    Csv.Write("\n");
    WriteCsvRows(Csv, static_cast<int>(FirstMove), Karts);
    Csv.Flush();
    CheckCsv(Csv, S, 0);
  }

  std::printf("kartrun: %d move%s of %d kart%s on %s, seed %llu%s\n", S.Moves,
              S.Moves == 1 ? "" : "s", S.Karts, S.Karts == 1 ? "" : "s",
              !S.Scenario.isEmpty() ? "the circuit of the scenario"
              : S.Circuit.isEmpty() ? "the built-in circuit"
                                    : NativeName(S.Circuit).constData(),
              static_cast<unsigned long long>(Seed), S.Seed ? "" : " (from the clock)");
  std::printf(
      "settings: friction %g, side friction %g, %d s futures, grid %d, collisions %s, "
      "%s decisions, %s, ",
      S.Track.Friction, S.Track.SideFriction, S.Track.Seconds, S.Kart.Grid,
      S.Track.Collisions ? "on" : "off", S.Kart.Refined ? "refined" : "averaged",
      S.Track.TeamScore ? "team scoring" : "individual scoring");
  if (S.Futures > 0)
    std::printf("%d futures per move (fixed)\n",
                std::max(S.Futures, S.Track.TeamScore ? MinTeamFutures : MinFutures));
  else
    std::printf("budget %d ms\n", S.BudgetMs);
  CheckStandardOutput();

  std::vector<TKartStats> Stats(Karts.size());
  int64_t FutureSum = 0;
  int FutureMin = std::numeric_limits<int>::max();
  double SecondsThinking = 0;
  const bool Tty = isatty(fileno(stderr));
  const int ProgressEvery = std::max(1, S.Moves / 10);
  // The moves start from the seed itself, whatever setting up the karts drew: a window run
  // seeded at its first move repeats this run. A kept race goes on with its own random source.
  if (S.Scenario.isEmpty()) RandomSeed(Seed);
  for (int Move = 1; Move <= S.Moves; ++Move) {
    std::vector<std::pair<double, double>> Before;
    Before.reserve(Karts.size());
    for (const auto& K : Karts) Before.emplace_back(K->PosX(), K->PosY());

    Track.Redraw();
    const auto T0 = std::chrono::steady_clock::now();
    try {
      Track.ThinkAndMove(S.BudgetMs, TimeStepMs);
    } catch (const std::exception& E) {
      Fail(QStringLiteral("move %1 failed: %2").arg(Move).arg(E.what()), 1);
    }
    SecondsThinking += std::chrono::duration<double>(std::chrono::steady_clock::now() - T0).count();

    const int Futures = Track.LastPasses;
    Log.Record(Planar, Futures);
    FutureSum += Futures;
    FutureMin = std::min(FutureMin, Futures);
    for (size_t I = 0; I < Karts.size(); ++I) {
      TKart& K = *Karts[I];
      Stats[I].Distance += std::hypot(K.PosX() - Before[I].first, K.PosY() - Before[I].second);
      if (!K.ShapeOnTrack()) ++Stats[I].OffTrackMoves;
      Stats[I].DistinctFutures += K.Futures->Count();
    }
    if (Csv.IsOpen()) {
      WriteCsvRows(Csv, static_cast<int>(FirstMove + Move), Karts);
      Csv.Flush();
      CheckCsv(Csv, S, Move);
    }
    if (!S.Frames.isEmpty()) {
      try {
        SaveFrameNative(Picture.Image(), NativeName(FrameFileName(S.Frames, Move)));
      } catch (const std::exception& E) {
        Fail(E.what(), 1);
      }
    }
    if (Tty || Move % ProgressEvery == 0 || Move == S.Moves) {
      std::fprintf(stderr, "%smove %d/%d, %.1f s, %d futures, kart #1 at (%.0f, %.0f)%s",
                   Tty ? "\r" : "", Move, S.Moves, SecondsThinking, Futures, Karts[0]->PosX(),
                   Karts[0]->PosY(), Tty ? "   " : "\n");
      std::fflush(stderr);
    }
  }
  if (Tty) std::fprintf(stderr, "\n");

  const double SimSeconds = S.Moves * TimeStepMs / 1000.0;
  const double MsPerMove = SecondsThinking * 1000 / S.Moves;
  std::printf(
      "\nkart  colour   distance  mean speed  off road  futures/move  min  distinct  "
      "ms/move  ends at\n");
  std::printf("                    (px)      (px/s)             (mean)               (mean)\n");
  for (size_t I = 0; I < Karts.size(); ++I) {
    const TKartStats& St = Stats[I];
    std::printf("#%-4zu %-7s %9.1f %11.2f %8.1f%% %13.1f %4d %9.1f %8.1f  (%.0f, %.0f)\n", I + 1,
                qPrintable(ColorName(static_cast<int>(I), Karts[I]->Color)), St.Distance,
                St.Distance / SimSeconds, 100.0 * St.OffTrackMoves / S.Moves,
                static_cast<double>(FutureSum) / S.Moves, FutureMin,
                static_cast<double>(St.DistinctFutures) / S.Moves, MsPerMove, Karts[I]->PosX(),
                Karts[I]->PosY());
  }
  TRunFacts Run{Seed,
                S.Moves,
                S.Futures,
                MsPerMove,
                S.Circuit.isEmpty() ? QStringLiteral("built-in") : S.Circuit,
                {},
                {}};
  for (size_t I = 0; I < Karts.size(); ++I) {
    Run.Colors.push_back(Karts[I]->Color);
    Run.ColorNames << ColorName(static_cast<int>(I), Karts[I]->Color);
  }
  PrintLapSummary(Log, Run);
  if (!S.Laps.isEmpty())
    if (const QString Error = WriteLapsCsv(NativeName(S.Laps), Log); !Error.isEmpty())
      Fail(QStringLiteral("cannot write the laps file '%1': %2").arg(S.Laps, Error), 1);
  if (!S.Report.isEmpty())
    if (const QString Error = WriteRunReport(S.Report, Circuit, Log, Run); !Error.isEmpty())
      Fail(QStringLiteral("cannot write the report: %1").arg(Error), 1);
  // The CSV takes its name only once everything, the summary included, has been written.
  CheckStandardOutput();
  if (Csv.IsOpen() && !Csv.Commit()) CheckCsv(Csv, S, S.Moves);
  if (!S.SaveScenario.isEmpty())
    if (const QString Error = WriteScenarioFile(
            S.SaveScenario,
            CaptureScenario(Track, Karts, Track.Seed, Track.MoveNumber, S.BudgetMs));
        !Error.isEmpty())
      Fail(Error, 1);
  return 0;
}
