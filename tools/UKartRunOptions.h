#pragma once
// kartrun's options: one table gives each option's name, help, field and range, and whether a
// scenario holds it. The help text, the checks of the command line and the options refused
// beside --scenario are all made from it, so an option is described once.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "agents/UDebugLevel.h"
#include "world/URaceSetup.h"
#include "world/USimd.h"

/// Where the karts of a new race start: on the starting grid behind the start line, or on top of
/// each other at the start point as the window's "+" adds them. Default: the grid for more than
/// one kart.
enum class TStartPlace { Default, Grid, Pile };

/// What one run is asked to do; a field whose option is not given keeps the window's default.
struct TRunSettings {
  QString Circuit;  ///< empty: the built-in one
  int32_t Karts = 1;
  TStartPlace Start = TStartPlace::Default;
  int32_t Moves = 600;
  std::optional<uint64_t> Seed;  ///< none: from the clock
  int32_t Futures = 0;           ///< 0: the time budget decides
  int32_t BudgetMs = MoveBudgetMs;
  int32_t Threads = 0;  ///< 0: every core
  TSimd Simd = TSimd::Best;
  TTrackSettings Track;
  TKartSettings Kart;  ///< every kart's
  QString Csv;
  QString Frames;        ///< base name of the frame files
  QString Laps;          ///< CSV of every lap
  QString Report;        ///< folder of report pictures and summary.json
  QString Scenario;      ///< empty: a new race
  QString SaveScenario;  ///< empty: none written
  /// Racing the lap direction with the end-point grid held at Kart.GridSize: read as those two.
  bool RacePreset = false;
};

/// Where an option's value goes: a field of one TRunSettings.
using TRunField = std::variant<int32_t*, double*, bool*, QString*, std::optional<uint64_t>*, TSimd*,
                               TDebugLevel*, TStartPlace*>;

/// One option of the table. Numbers are checked against their Range; a switch (no Value) writes
/// SwitchSets into its flag.
struct TRunOption {
  const char* Name;
  const char* Short = nullptr;  ///< one-letter alias, or none
  /// What the value is called in the help ("n", "file"); none: a switch.
  const char* Value = nullptr;
  QString Help = {};  ///< what it sets, before its range
  TRunField Field = {};
  TSettingRange Range = {0, 0};  ///< numbers only
  QString Default = {};          ///< shown instead of the field's own value as the default
  QString More = {};             ///< a sentence after the range and the default
  bool Held = false;             ///< a scenario holds it, so it is not given beside --scenario
  bool Output = false;           ///< names a file the run writes, not a setting of the run
  bool SwitchSets = true;
};

/// The table, with every field pointing into Settings.
std::vector<TRunOption> RunOptions(TRunSettings& Settings);

/// Every setting of a run as JSON, under the names of its options (switches true when given),
/// with the seed the run used: what a summary keeps so that a sweep's runs can be told apart.
QJsonObject RunSettingsJson(TRunSettings Settings, uint64_t Seed);

/// Reads the command line (as ArgumentsAsGiven gives it) through the table. --help prints the
/// help and ends the program; anything refused ends it with a message and status 2.
TRunSettings ReadRunOptions(const QStringList& Arguments);

/// Prints "kartrun: Message" on standard error, with a hint at --help for status 2 (a refused
/// command line), and ends the program with Code.
[[noreturn]] void Fail(const QString& Message, int Code = 2);
