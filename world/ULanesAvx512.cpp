// The kart's lane kernel, 8 lanes wide, built for AVX-512 (F and DQ).

#include <immintrin.h>

#include <cstdint>

#include "agents/UPairPush.h"
#include "world/ULaneJob.h"

namespace KartLanesAvx512 {
namespace {

struct TRegs : LaneMath::TVectorTypes<8> {
  static uint32_t BitsOf(M Mask) {
    return static_cast<uint32_t>(_mm512_movepi64_mask((__m512i)Mask));
  }
  static D Sqrt(D X) {
    return (D)_mm512_maskz_sqrt_pd(0xFF, (__m512d)X);
  }  // the unmasked form warns
  static M Bytes(const uint8_t* Map, M Index) {
    return (M)_mm512_mask_i64gather_epi64(_mm512_setzero_si512(), 0xFF, (__m512i)Index, Map, 1);
  }
  static M Words(const int32_t* Map, M Index) {
    // The masked forms: the plain ones start from an undefined register, which warns.
    const __m256i Got =
        _mm512_mask_i64gather_epi32(_mm256_setzero_si256(), 0xFF, (__m512i)Index, Map, 4);
    return (M)_mm512_maskz_cvtepi32_epi64(0xFF, Got);
  }
};

}  // namespace
#include "world/ULaneKernel.inc"
}  // namespace KartLanesAvx512
