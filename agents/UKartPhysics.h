#pragma once
// The kart's physics in numbers. Positions in pixels, speeds in px/s, time in seconds unless
// named otherwise; friction coefficients are the track's, without unit. Each constant is used
// exactly as written here (a division stays a division), so results keep every bit.

#include <cstdint>
#include <numbers>

namespace KartPhysics {

/// Time steps are given in milliseconds.
constexpr double MsPerSecond = 1000;

/// Off the road friction is tripled, sideways friction halved and the power held to half the
/// engine's limit.
constexpr double OffRoadFrictionFactor = 3;
constexpr double OffRoadSideFrictionDivisor = 2;
constexpr double OffRoadPowerDivisor = 2;

/// Drag grows with the forward speed: coefficient x (DragPerSpeed x speed + 1), per
/// DragStepMs of simulated time.
constexpr double DragPerSpeed = 0.01;  // per px/s
constexpr double DragStepMs = 100;

/// Braking takes from the forward speed (never past 0): share of the brake x MaxPower x
/// friction x BrakeGain, per second.
constexpr double BrakeGain = 300;

/// Sideways slide lost per second, per unit of sideways friction (px/s); slides below
/// MinSlide are left alone.
constexpr double SlideLossPerSecond = 100;
constexpr double MinSlide = 0.0001;

/// Karts slower than this turn proportionally slower (px/s).
constexpr double FullTurnSpeed = 10;

/// Score of a step: the distance in units of the kart's size, times ScorePerSize; off the road
/// divided by OffRoadScoreDivisor.
constexpr double ScorePerSize = 5;
constexpr double OffRoadScoreDivisor = 100;

/// A future that leaves the road without leave keeps (speed^2)^2 / CrashDivisor of its weight,
/// within [CrashKeptMin, CrashKeptMax].
constexpr double CrashDivisor = 30;
constexpr double CrashKeptMin = 0.5;
constexpr double CrashKeptMax = 0.9;

/// Bounds and random ranges of the controls: steering (radians) and its rate (rad/s), engine
/// power (px/s^2) and its rate (px/s^3), battery (percent).
constexpr double TurnLimit = std::numbers::pi / 4;
constexpr double PushTurnLimit = 5;
constexpr double PushTurnRange = 5;
constexpr double PowerLimit = 10;
constexpr double PushPowerLimit = 180;
constexpr double PushPowerRange = 50;
constexpr double BatteryFull = 100;

/// Size of a new kart, pixels.
constexpr double KartSize = 8;
/// A future begun braking harder than this (PushPower) is drawn black.
constexpr double HardBrake = -60;

}  // namespace KartPhysics
