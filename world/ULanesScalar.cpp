// The kart's lane kernel, 1 lane wide.

#define KART_LANES_W 1
#include <immintrin.h>

#include <cstdint>

#include "decision/USinCos.h"
#include "world/ULaneJob.h"

namespace KartLanesScalar {
constexpr int W = KART_LANES_W;
#include "world/ULaneKernel.inc"
}  // namespace KartLanesScalar
