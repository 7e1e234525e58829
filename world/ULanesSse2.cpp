// The kart's lane kernel, 2 lanes wide (SSE2: every x86-64 processor).

#include <immintrin.h>

#include <cstdint>

#include "agents/UPairPush.h"
#include "world/ULaneJob.h"

namespace KartLanesSse2 {
namespace {

struct TRegs : LaneMath::TVectorTypes<2> {
  static uint32_t BitsOf(M Mask) { return static_cast<uint32_t>(_mm_movemask_pd((__m128d)Mask)); }
  static D Sqrt(D X) { return (D)_mm_sqrt_pd((__m128d)X); }
  static M Bytes(const uint8_t* Map, M Index) { return M{Map[Index[0]], Map[Index[1]]}; }
  static M Words(const int32_t* Map, M Index) { return M{Map[Index[0]], Map[Index[1]]}; }
};

}  // namespace
#include "world/ULaneKernel.inc"
}  // namespace KartLanesSse2
