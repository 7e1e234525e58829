#pragma once
// The race as the window starts it: where karts start, their colours, the time step, the least
// number of futures, and the defaults of every track and kart setting. The window, the headless
// runner, the benchmarks and the exactness test all set up their races from here.

#include <cstdint>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include "agents/UDebugLevel.h"
#include "world/UPlatform.h"

class TKart;
class TTrack2D;

/// Every kart starts here, heading down the picture (pixels, radians).
constexpr double StartX = 200;
constexpr double StartY = 460;
constexpr double StartAngle = std::numbers::pi / 2;

/// The simulated time of every move and of every simulated sub-step, milliseconds.
constexpr int32_t TimeStepMs = 100;
/// The time budget of one move, milliseconds; the passes stop at 90 % of it.
constexpr int32_t MoveBudgetMs = 100;
/// The least number of futures per player and move, alone and when thinking as a team.
constexpr int32_t MinFutures = 200;
constexpr int32_t MinTeamFutures = 500;

/// The values a setting may take: the window's controls offer these, kartrun's options and a
/// scenario file are held to them.
struct TSettingRange {
  double Min, Max;
};
constexpr TSettingRange KartsRange{1, 100};
constexpr TSettingRange FixedFuturesRange{1, 100000};  ///< futures per kart and move
constexpr TSettingRange BudgetRange{0, 10000};         ///< milliseconds
constexpr TSettingRange FrictionRange{0.001, 0.3};
constexpr TSettingRange SideFrictionRange{0, 1};
constexpr TSettingRange SecondsRange{1, 20};
constexpr TSettingRange GridRange{5, 25};  ///< pixels; the grid adapts within the player's own
constexpr TSettingRange MaxPowerRange{1, 25};
constexpr TSettingRange MaxTurnDegRange{10, 90};
constexpr TSettingRange SizeRange{4, 40};  ///< pixels

/// The most moves a race counts (a scenario keeps the count): 2^40, over 3,000 years of moves at
/// ten a second. A run that would go past it is refused.
constexpr int64_t MaxMoveNumber = int64_t{1} << 40;

/// The largest magnitudes a kart's state reaches in any race the ranges above allow, up to
/// MaxMoveNumber moves; a scenario holding more is refused. The speed is twice the fastest a
/// kart drives on the road (strongest engine, least friction: about 452 px/s), which leaves room
/// for bounces; positions, headings and scores follow from it over every move.
struct TReachableState {
  double Speed;     ///< each velocity component, px/s
  double Position;  ///< each coordinate, px
  double Angle;     ///< heading, radians
  double Score;     ///< either way: racing the lap direction, going backwards scores below 0
};
TReachableState ReachableState();

/// Colours of karts 1 to 5; later karts keep their random colour.
constexpr TColor KartColors[5] = {clRed, clYellow, clLime, clWhite, clFuchsia};
constexpr const char* KartColorNames[5] = {"red", "yellow", "green", "white", "magenta"};

/// Settings of the track, with the window's start-up values.
struct TTrackSettings {
  double Friction = 0.015;    ///< road friction coefficient (per 100 ms step)
  double SideFriction = 0.2;  ///< sideways slide friction coefficient
  int32_t Seconds = 10;       ///< length of every simulated future, seconds
  bool TeamScore = false;     ///< futures weighed by the mean over all karts
  bool Collisions = true;     ///< karts bounce off each other
  bool KeepTrails = false;    ///< the picture is not cleaned before each move
  /// Futures score their progress round the road in the lap direction, not their path length
  /// (where the road has a lap line).
  bool RaceDirection = false;
};

/// Settings of one kart, with the window's start-up values.
struct TKartSettings {
  double MaxPower = 10;    ///< engine power limit, px/s^2
  double MaxTurnDeg = 45;  ///< steering limit, degrees
  double Size = 8;         ///< outline radius, pixels
  int32_t Grid = 10;       ///< end-point grid size, pixels
  bool AutoGrid = true;    ///< the grid adapts to the number of distinct futures
  bool Refined = true;     ///< refine the decision by the curve through the options
  TDebugLevel DebugLevel = TDebugLevel::Nothing;
};

/// Writes the settings into the track.
void ApplyTrackSettings(TTrack2D& Track, const TTrackSettings& Settings);
/// Writes the settings into the kart (its grid, limits, size and thinking).
void ApplyKartSettings(TKart& Kart, const TKartSettings& Settings);

/// The karts of a race, owned in the order added; the track lists them without owning them.
using TKartList = std::vector<std::unique_ptr<TKart>>;

/// Adds a kart as the window's "+" does: at the start pose, a copy of the kart added before it,
/// set up by Setup, marked as its start, drawn, coloured by its number.
TKart& AddKart(TTrack2D& Track, TKartList& Karts, const std::function<void(TKart&)>& Setup);
/// The same with fixed settings.
TKart& AddKart(TTrack2D& Track, TKartList& Karts, const TKartSettings& Settings);
/// Takes the kart off the track and destroys it. A kart not in the list: nothing.
void RemoveKart(TTrack2D& Track, TKartList& Karts, const TKart* Kart);

/// pi to the precision of the steering conversions, which run in extended precision.
constexpr long double PiExtended = 3.1415926535897932385L;
/// Steering limit in degrees to radians, computed in extended precision and stored as a double,
/// as the steering slider always did: in double precision a third of the degrees would land one
/// unit in the last place away.
double TurnDegreesToRadians(double Degrees);
