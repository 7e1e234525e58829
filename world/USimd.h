#pragma once
// The vector widths the karts can think in, and which of them this processor runs.

#include <cstdint>
#include <optional>
#include <string>

/// How many futures side by side: one (scalar), two (SSE2), four (AVX2) or eight (AVX-512).
/// Every width gives the same futures, bit for bit; Best picks the widest this processor runs.
enum class TSimd : int32_t { Best, Scalar, Sse2, Avx2, Avx512 };

/// "scalar", "sse2", "avx2", "avx512" or "best".
const char* SimdName(TSimd Width);
/// The width of a name SimdName gives; nothing for any other text.
std::optional<TSimd> ParseSimd(const std::string& Name);
/// Whether this processor (and its operating system) runs the width.
bool SimdSupported(TSimd Width);
/// The widest width this processor runs.
TSimd BestSimd();
/// Best resolved to BestSimd(); a width this processor lacks raises EModelError saying so.
TSimd ResolveSimd(TSimd Width);
