#include "tools/UKartRunOptions.h"

#include <QCommandLineParser>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "decision/UBase.h"
#include "tools/UOutputChecks.h"
#include "world/UThinkPool.h"

void Fail(const QString& Message, int Code) {
  std::fprintf(stderr, "kartrun: %s\n", qPrintable(Message));
  if (Code == 2) std::fprintf(stderr, "Try 'kartrun --help' for the options.\n");
  std::exit(Code);
}

namespace {

std::vector<TRunOption> AllOptions(TRunSettings& S) {
  const QString LapRule = QStringLiteral(
      "A lap counts when a kart crosses the start line (the road's cross-section through kart "
      "#1's start, across its heading) in the start direction after going round.");
  return {
      {.Name = "circuit",
       .Value = "file",
       .Help = "Circuit picture: a BMP file, pure black is off the road",
       .Field = &S.Circuit,
       .Default = "the built-in circuit",
       .Held = true},
      {.Name = "karts",
       .Short = "k",
       .Value = "n",
       .Help = "Number of karts",
       .Field = &S.Karts,
       .Range = KartsRange,
       .Held = true},
      {.Name = "start",
       .Value = "place",
       .Help = "Where the karts of a new race start: grid, two abreast in a staggered grid behind "
               "the start line, or pile, on top of each other at the start point as the "
               "window's \"+\" adds them",
       .Field = &S.Start,
       .Default = "grid for more than one kart",
       .More = "Where the road is too narrow or does not loop through the start, the karts stay "
               "piled and kartrun says why.",
       .Held = true},
      {.Name = "moves",
       .Short = "m",
       .Value = "n",
       .Help = "Number of moves of 100 ms to run",
       .Field = &S.Moves,
       .Range = {1, 1000000}},
      {.Name = "seed",
       .Value = "n",
       .Help = "Seed of the random source",
       .Field = &S.Seed,
       .Default = "from the clock, printed at the start",
       .Held = true},
      {.Name = "futures",
       .Value = "n",
       .Help = "Futures per kart and move, instead of filling the time budget",
       .Field = &S.Futures,
       .Range = FixedFuturesRange,
       .Default = "the time budget decides",
       .More = QStringLiteral("Exactly max(n, %1) are imagined (%2 when thinking as a team); the "
                              "clock is then never read, so with --seed a run repeats exactly.")
                   .arg(MinFutures)
                   .arg(MinTeamFutures),
       .Held = true},
      {.Name = "budget",
       .Value = "ms",
       .Help = "Time budget of a move in ms",
       .Field = &S.BudgetMs,
       .Range = BudgetRange,
       .Held = true},
      {.Name = "threads",
       .Value = "n",
       .Help = "Threads that imagine the futures",
       .Field = &S.Threads,
       .Range = {1, 256},
       .Default = QStringLiteral("every core, %1 here").arg(TThinkPool::CoreCount()),
       .More = "Results are the same for any count."},
      {.Name = "simd",
       .Value = "width",
       .Help = "Futures side by side on each thread: scalar, sse2, avx2 or avx512",
       .Field = &S.Simd,
       .Default =
           QStringLiteral("the widest this processor runs, %1 here").arg(SimdName(BestSimd())),
       .More = "Results are the same for every width."},
      {.Name = "friction",
       .Value = "f",
       .Help = "Road friction coefficient",
       .Field = &S.Track.Friction,
       .Range = FrictionRange,
       .Held = true},
      {.Name = "side-friction",
       .Value = "f",
       .Help = "Sideways friction coefficient",
       .Field = &S.Track.SideFriction,
       .Range = SideFrictionRange,
       .Held = true},
      {.Name = "seconds",
       .Value = "s",
       .Help = "Seconds of simulated future",
       .Field = &S.Track.Seconds,
       .Range = SecondsRange,
       .Held = true},
      {.Name = "grid",
       .Value = "px",
       .Help = "End-point grid size in pixels",
       .Field = &S.Kart.Grid,
       .Range = GridRange,
       .Held = true},
      {.Name = "max-power",
       .Value = "p",
       .Help = "Engine max. power of every kart",
       .Field = &S.Kart.MaxPower,
       .Range = MaxPowerRange,
       .Held = true},
      {.Name = "max-turn",
       .Value = "deg",
       .Help = "Max. wheel angle of every kart in degrees",
       .Field = &S.Kart.MaxTurnDeg,
       .Range = MaxTurnDegRange,
       .Held = true},
      {.Name = "size",
       .Value = "px",
       .Help = "Kart size in pixels",
       .Field = &S.Kart.Size,
       .Range = SizeRange,
       .Held = true},
      {.Name = "no-collisions",
       .Help = "Let karts drive through each other",
       .Field = &S.Track.Collisions,
       .Default = "collisions on",
       .Held = true,
       .SwitchSets = false},
      {.Name = "no-refined",
       .Help = "Use the plain averaged decision",
       .Field = &S.Kart.Refined,
       .Default = "refined decisions",
       .Held = true,
       .SwitchSets = false},
      {.Name = "fixed-grid",
       .Help = "Keep the end-point grid at --grid instead of adapting it to the number of "
               "distinct futures",
       .Field = &S.Kart.AutoGrid,
       .Default = "adapted every move",
       .Held = true,
       .SwitchSets = false},
      {.Name = "race-direction",
       .Help = "Race the lap direction: each step of a future scores its progress round the road "
               "from the start line instead of its path length",
       .Field = &S.Track.RaceDirection,
       .Default = "the path length",
       .More = "Only where the road loops through the start.",
       .Held = true},
      {.Name = "race-preset",
       .Help = "The race preset: racing the lap direction with the end-point grid held at --grid, "
               "as --race-direction --fixed-grid give them: no kart against the field, and the "
               "fastest laps at a few thousand futures or more",
       .Field = &S.RacePreset,
       .Default = "off",
       .More = "See docs/driving.md.",
       .Held = true},
      {.Name = "team",
       .Help = "Think as a team: futures are weighed by the mean score of all karts",
       .Field = &S.Track.TeamScore,
       .Default = "each kart by its own score",
       .Held = true},
      {.Name = "csv",
       .Value = "file",
       .Help = "Write every kart's real state after every move to this CSV file",
       .Field = &S.Csv,
       .Output = true},
      {.Name = "frames",
       .Value = "base",
       .Help = "Save the picture after every move as BASE_0001.bmp, BASE_0002.bmp, ... as the "
               "window would show it",
       .Field = &S.Frames,
       .Output = true},
      {.Name = "laps",
       .Value = "file",
       .Help = "Write every lap of every kart (kart, lap, seconds, move) to this CSV file",
       .Field = &S.Laps,
       .More = LapRule,
       .Output = true},
      {.Name = "report",
       .Value = "folder",
       .Help = "Write into this folder each kart's path over the circuit coloured by speed, "
               "speed and futures per move over time and lap times as PNG pictures, and the "
               "summary's figures as summary.json",
       .Field = &S.Report,
       .Output = true},
      {.Name = "debug-level",
       .Value = "n",
       .Help = "What the frames show of the thinking, for every kart",
       .Field = &S.Kart.DebugLevel,
       .Range = {0, 2},
       .More = "0 nothing, 1 traces of the futures, 2 also their end points."},
      {.Name = "scenario",
       .Value = "file",
       .Help = "Go on with the race kept in this scenario file: its circuit, karts, settings, "
               "futures mode, move number and random source; --moves says how many more moves",
       .Field = &S.Scenario},
      {.Name = "save-scenario",
       .Value = "file",
       .Help = "Write the race as it stands at the end of the run to this scenario file",
       .Field = &S.SaveScenario,
       .Output = true},
  };
}

}  // namespace

std::vector<TRunOption> RunOptions(TRunSettings& S) {
  std::vector<TRunOption> Table = AllOptions(S);
  // --scenario names the options it replaces.
  QStringList Held;
  for (const TRunOption& O : Table)
    if (O.Held) Held << QStringLiteral("--") + O.Name;
  const QString Last = Held.takeLast();
  for (TRunOption& O : Table)
    if (O.Field == TRunField(&S.Scenario))
      O.More = QStringLiteral("It holds %1 and %2, which are not given beside it.")
                   .arg(Held.join(QStringLiteral(", ")), Last);
  return Table;
}

namespace {

bool IsNumber(const TRunOption& O) {
  return std::holds_alternative<int32_t*>(O.Field) || std::holds_alternative<double*>(O.Field) ||
         std::holds_alternative<TDebugLevel*>(O.Field);
}
bool IsWhole(const TRunOption& O) { return !std::holds_alternative<double*>(O.Field); }

QString Number(double Value, bool Whole) {
  return Whole ? QString::number(static_cast<qlonglong>(Value)) : QString::number(Value, 'g', 15);
}

/// The field's value as the help shows a default.
QString FieldText(const TRunOption& O) {
  if (const auto* I = std::get_if<int32_t*>(&O.Field)) return QString::number(**I);
  if (const auto* D = std::get_if<double*>(&O.Field)) return Number(**D, false);
  if (const auto* L = std::get_if<TDebugLevel*>(&O.Field))
    return QString::number(static_cast<int32_t>(**L));
  return {};
}

/// "Help, Min to Max (default D). More" from the table; Defaults are the table's fields.
QString HelpText(const TRunOption& O) {
  QString Text = O.Help;
  if (IsNumber(O))
    Text += QStringLiteral(", %1 to %2")
                .arg(Number(O.Range.Min, IsWhole(O)), Number(O.Range.Max, IsWhole(O)));
  if (!O.Default.isEmpty())
    Text += QStringLiteral(" (default: %1)").arg(O.Default);
  else if (IsNumber(O))
    Text += QStringLiteral(" (default %1)").arg(FieldText(O));
  Text += '.';
  if (!O.More.isEmpty()) Text += ' ' + O.More;
  return Text;
}

void PrintHelp(const QCommandLineParser& P) {
  // Longer than the stream's buffer: the failing write is part of this call, so its reason is
  // read here.
  errno = 0;
  if (std::fputs(qPrintable(P.helpText()), stdout) == EOF)
    Fail(QStringLiteral("cannot write to standard output: %1")
             .arg(QString::fromLocal8Bit(std::strerror(errno ? errno : EIO))),
         1);
  if (const QString Error = StandardOutputFailure(); !Error.isEmpty())
    Fail("cannot write to standard output: " + Error, 1);
  std::exit(0);
}

/// A whole number or a decimal within the option's range, or a message naming the option.
template <typename T>
T ReadNumber(const TRunOption& O, const QString& Text) {
  bool Ok = false;
  T V{};
  if constexpr (std::is_integral_v<T>) {
    const qlonglong Whole = Text.toLongLong(&Ok);
    Ok = Ok && Whole >= O.Range.Min && Whole <= O.Range.Max;
    V = static_cast<T>(Whole);
  } else {
    V = Text.toDouble(&Ok);
    Ok = Ok && V >= O.Range.Min && V <= O.Range.Max;  // also refuses nan
  }
  if (!Ok)
    Fail(QStringLiteral("--%1 takes a %2 from %3 to %4, not '%5'.")
             .arg(QString::fromLatin1(O.Name),
                  IsWhole(O) ? QStringLiteral("whole number") : QStringLiteral("number"),
                  Number(O.Range.Min, IsWhole(O)), Number(O.Range.Max, IsWhole(O)), Text));
  return V;
}

/// Writes the value given for O into its field, or refuses it.
void ReadValue(const TRunOption& O, const QString& Text) {
  const QString Name = QString::fromLatin1(O.Name);
  if (auto* I = std::get_if<int32_t*>(&O.Field)) {
    **I = ReadNumber<int32_t>(O, Text);
  } else if (auto* D = std::get_if<double*>(&O.Field)) {
    **D = ReadNumber<double>(O, Text);
  } else if (auto* L = std::get_if<TDebugLevel*>(&O.Field)) {
    **L = static_cast<TDebugLevel>(ReadNumber<int32_t>(O, Text));
  } else if (auto* F = std::get_if<bool*>(&O.Field)) {
    **F = O.SwitchSets;
  } else if (auto* Name_ = std::get_if<QString*>(&O.Field)) {
    if (Text.isEmpty())
      Fail(QStringLiteral("--%1 needs a %2 name.").arg(Name, QString::fromLatin1(O.Value)));
    **Name_ = Text;
  } else if (auto* Seed = std::get_if<std::optional<uint64_t>*>(&O.Field)) {
    bool Ok = false;
    **Seed = Text.toULongLong(&Ok);
    if (!Ok)
      Fail(QStringLiteral("--%1 takes a whole number from 0 to 18446744073709551615, not '%2'.")
               .arg(Name, Text));
  } else if (auto* Start = std::get_if<TStartPlace*>(&O.Field)) {
    if (Text == QStringLiteral("grid"))
      **Start = TStartPlace::Grid;
    else if (Text == QStringLiteral("pile"))
      **Start = TStartPlace::Pile;
    else
      Fail(QStringLiteral("--%1 takes grid or pile, not '%2'.").arg(Name, Text));
  } else if (auto* Simd = std::get_if<TSimd*>(&O.Field)) {
    const std::optional<TSimd> Width = ParseSimd(Text.toStdString());
    if (!Width || *Width == TSimd::Best)
      Fail(QStringLiteral("--%1 takes scalar, sse2, avx2 or avx512, not '%2'.").arg(Name, Text));
    try {
      **Simd = ResolveSimd(*Width);
    } catch (const EModelError& E) {
      Fail(QString::fromStdString(E.what()));
    }
  }
}

}  // namespace

QJsonObject RunSettingsJson(TRunSettings S, uint64_t Seed) {
  QJsonObject Json;
  for (const TRunOption& O : RunOptions(S)) {
    if (O.Output) continue;
    const QString Name = QString::fromLatin1(O.Name);
    if (const auto* I = std::get_if<int32_t*>(&O.Field))
      Json[Name] = **I;
    else if (const auto* D = std::get_if<double*>(&O.Field))
      Json[Name] = **D;
    else if (const auto* F = std::get_if<bool*>(&O.Field))
      Json[Name] = **F == O.SwitchSets;
    else if (const auto* Text = std::get_if<QString*>(&O.Field))
      Json[Name] = **Text;
    else if (const auto* L = std::get_if<TDebugLevel*>(&O.Field))
      Json[Name] = static_cast<int32_t>(**L);
    else if (const auto* W = std::get_if<TSimd*>(&O.Field))
      Json[Name] = QString::fromLatin1(SimdName(ResolveSimd(**W)));
    else if (const auto* Start = std::get_if<TStartPlace*>(&O.Field))
      Json[Name] = **Start == TStartPlace::Pile || (**Start == TStartPlace::Default && S.Karts == 1)
                       ? QStringLiteral("pile")
                       : QStringLiteral("grid");
    else if (std::holds_alternative<std::optional<uint64_t>*>(O.Field))
      Json[Name] = QString::number(Seed);
  }
  return Json;
}

TRunSettings ReadRunOptions(const QStringList& Arguments) {
  TRunSettings Defaults;
  const std::vector<TRunOption> Shown = RunOptions(Defaults);
  QCommandLineParser P;
  P.setApplicationDescription(
      "Runs the kart simulation without a window and prints, per kart, the distance driven,\n"
      "the mean speed, the share of moves ending with the kart's outline off the road, the\n"
      "futures imagined per move and the time per move.\n"
      "Karts are added as the window adds them: the first at x 200, y 460 heading down the\n"
      "picture, each further one a copy of the one before; more than one then line up on the\n"
      "starting grid (--start). Every move is one redraw and one think-and-move step with the\n"
      "window's budget and a 100 ms time step.\n"
      "Settings not given are the window's start-up settings. A run whose moves are expected\n"
      "to take far longer than their budget says so before it starts.\n"
      "\n"
      "Outputs are checked before the run starts and never replace an input, each other or\n"
      "anything but a regular file. A file is written beside its name and takes it when the\n"
      "whole run has ended well, together with every other output, or none does. --csv, --laps\n"
      "and --save-scenario may also name - (standard output; the summary then goes to standard\n"
      "error), a FIFO or a character device, which are written as the run goes. Frames are\n"
      "only files. --report is a folder, made beside its name and swapped in whole: an earlier\n"
      "report there is replaced, a folder holding anything else is refused.");
  P.addHelpOption();
  for (const TRunOption& O : Shown) {
    QStringList Names{QString::fromLatin1(O.Name)};
    if (O.Short) Names.prepend(QString::fromLatin1(O.Short));
    P.addOption(
        QCommandLineOption(Names, HelpText(O), O.Value ? QString::fromLatin1(O.Value) : QString()));
  }
  if (!P.parse(Arguments)) Fail(P.errorText());
  if (P.isSet(QStringLiteral("help"))) PrintHelp(P);
  if (!P.positionalArguments().isEmpty())
    Fail(QStringLiteral("unexpected argument '%1' (a circuit is given with --circuit).")
             .arg(P.positionalArguments().first()));

  TRunSettings S;
  const std::vector<TRunOption> Table = RunOptions(S);
  for (const TRunOption& O : Table)
    if (P.isSet(QString::fromLatin1(O.Name))) ReadValue(O, P.value(QString::fromLatin1(O.Name)));
  if (S.RacePreset) {
    S.Track.RaceDirection = true;
    S.Kart.AutoGrid = false;
  }
  if (P.isSet(QStringLiteral("debug-level")) && S.Frames.isEmpty())
    Fail("--debug-level only changes what --frames saves; give --frames too.");
  // The file holds the whole race: a setting given beside it would be silently lost.
  if (!S.Scenario.isEmpty())
    for (const TRunOption& O : Table)
      if (O.Held && P.isSet(QString::fromLatin1(O.Name)))
        Fail(QStringLiteral("--%1 cannot be given with --scenario, which holds it.").arg(O.Name));
  return S;
}
