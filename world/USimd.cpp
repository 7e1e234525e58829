#include "world/USimd.h"

#include "decision/UBase.h"

namespace {

struct TWidthName {
  TSimd Width;
  const char* Name;
  const char* Needs;  ///< the processor features, as the user reads them
};
constexpr TWidthName Widths[] = {{TSimd::Scalar, "scalar", ""},
                                 {TSimd::Sse2, "sse2", "SSE2"},
                                 {TSimd::Avx2, "avx2", "AVX2"},
                                 {TSimd::Avx512, "avx512", "AVX-512F and AVX-512DQ"}};

}  // namespace

const char* SimdName(TSimd Width) {
  for (const TWidthName& W : Widths)
    if (W.Width == Width) return W.Name;
  return "best";
}

std::optional<TSimd> ParseSimd(const std::string& Name) {
  for (const TWidthName& W : Widths)
    if (Name == W.Name) return W.Width;
  if (Name == "best") return TSimd::Best;
  return std::nullopt;
}

bool SimdSupported(TSimd Width) {
  switch (Width) {
    case TSimd::Best:
    case TSimd::Scalar:
    case TSimd::Sse2:  // every x86-64 processor
      return true;
    case TSimd::Avx2:
      return __builtin_cpu_supports("avx2");
    case TSimd::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
  }
  return false;
}

TSimd BestSimd() {
  for (TSimd W : {TSimd::Avx512, TSimd::Avx2})
    if (SimdSupported(W)) return W;
  return TSimd::Sse2;
}

TSimd ResolveSimd(TSimd Width) {
  if (Width == TSimd::Best) return BestSimd();
  if (SimdSupported(Width)) return Width;
  for (const TWidthName& W : Widths)
    if (W.Width == Width)
      throw EModelError(std::string("This processor cannot think in ") + W.Name +
                        " lanes: it lacks " + W.Needs + ". The widest it runs is " +
                        SimdName(BestSimd()) + ".");
  return BestSimd();
}
