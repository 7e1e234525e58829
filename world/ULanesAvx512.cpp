// The kart's lane kernel, 8 lanes wide, built for AVX-512.

#define KART_LANES_W 8
#include <immintrin.h>

#include <cstdint>

#include "decision/USinCos.h"
#include "world/ULaneJob.h"

namespace KartLanesAvx512 {
constexpr int W = KART_LANES_W;
#include "world/ULaneKernel.inc"
}  // namespace KartLanesAvx512
