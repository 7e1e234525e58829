// The kart's lane kernel, 1 lane wide.

#include <cstdint>

#include "agents/UPairPush.h"
#include "world/ULaneJob.h"

namespace KartLanesScalar {
namespace {

struct TRegs : LaneMath::TVectorTypes<1> {
  static uint32_t BitsOf(M Mask) { return Mask != 0; }
  static D Sqrt(D X) { return __builtin_sqrt(X); }
  static M Bytes(const uint8_t* Map, M Index) { return Map[Index]; }
  static M Words(const int32_t* Map, M Index) { return Map[Index]; }
};

}  // namespace
#include "world/ULaneKernel.inc"
}  // namespace KartLanesScalar
