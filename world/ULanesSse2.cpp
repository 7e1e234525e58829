// The kart's lane kernel, 2 lanes wide.

#define KART_LANES_W 2
#include <immintrin.h>

#include <cstdint>

#include "decision/USinCos.h"
#include "world/ULaneJob.h"

namespace KartLanesSse2 {
constexpr int W = KART_LANES_W;
#include "world/ULaneKernel.inc"
}  // namespace KartLanesSse2
