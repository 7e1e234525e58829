// The kart's lane kernel, 4 lanes wide, built for AVX2.

#define KART_LANES_W 4
#include <immintrin.h>

#include <cstdint>

#include "decision/USinCos.h"
#include "world/ULaneJob.h"

namespace KartLanesAvx2 {
constexpr int W = KART_LANES_W;
#include "world/ULaneKernel.inc"
}  // namespace KartLanesAvx2
