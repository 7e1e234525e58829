#include "ui/USliderUnits.h"

#include "decision/UBase.h"
#include "world/URaceSetup.h"

double FrictionFromSlider(int32_t Position) { return static_cast<double>(Position / 1000.0L); }

int32_t FrictionToSlider(double Friction) { return RoundEven(Friction * 1000); }

double SideFrictionFromSlider(int32_t Position) { return static_cast<double>(Position / 100.0L); }

int32_t SideFrictionToSlider(double SideFriction) { return RoundEven(SideFriction * 100); }

int32_t TurnRadiansToSlider(double Radians) {
  return RoundEven(static_cast<double>(Radians / PiExtended * 180.0L));
}
