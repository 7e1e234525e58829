#pragma once
// The window's sliders in the model's units: positions are whole thousandths, hundredths or
// degrees. The divisions run in extended precision and are stored as doubles, as the sliders
// always did, so that a value shown and applied back lands on the same position.

#include <cstdint>

/// Friction slider position (thousandths) to the coefficient, and back.
double FrictionFromSlider(int32_t Position);
int32_t FrictionToSlider(double Friction);
/// Side friction slider position (hundredths) to the coefficient, and back.
double SideFrictionFromSlider(int32_t Position);
int32_t SideFrictionToSlider(double SideFriction);
/// Radians back to the steering slider's whole degrees (TurnDegreesToRadians goes the other way).
int32_t TurnRadiansToSlider(double Radians);
