// The kart's lane kernel, 4 lanes wide, built for AVX2.

#include <immintrin.h>

#include <cstdint>

#include "agents/UPairPush.h"
#include "world/ULaneJob.h"

namespace KartLanesAvx2 {
namespace {

struct TRegs : LaneMath::TVectorTypes<4> {
  static uint32_t BitsOf(M Mask) {
    return static_cast<uint32_t>(_mm256_movemask_pd((__m256d)Mask));
  }
  static D Sqrt(D X) { return (D)_mm256_sqrt_pd((__m256d)X); }
  static M Bytes(const uint8_t* Map, M Index) {
    return (M)_mm256_i64gather_epi64((const long long*)Map, (__m256i)Index, 1);
  }
  static M Words(const int32_t* Map, M Index) {
    return (M)_mm256_cvtepi32_epi64(_mm256_i64gather_epi32(Map, (__m256i)Index, 4));
  }
};

}  // namespace
#include "world/ULaneKernel.inc"
}  // namespace KartLanesAvx2
