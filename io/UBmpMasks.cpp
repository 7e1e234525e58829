#include "io/UBmpMasks.h"

#include <array>
#include <bit>
#include <vector>

#include "decision/UBase.h"

namespace {

/// One channel: where its bits lie, and a table from its value to 0..255 when it is narrow.
struct TChannel {
  uint32_t Mask;
  int Shift;
  int Width;
  std::vector<uint8_t> Table;  // 2^Width entries when Width <= 16

  explicit TChannel(uint32_t M) : Mask(M), Shift(std::countr_zero(M)), Width(std::popcount(M)) {
    if (Width <= 16) {
      Table.resize(size_t{1} << Width);
      for (uint32_t V = 0; V < Table.size(); ++V) Table[V] = ScaleBmpChannel(V, Width);
    }
  }
  uint32_t Of(uint32_t Pixel) const {
    const uint32_t V = (Pixel & Mask) >> Shift;
    return Table.empty() ? ScaleBmpChannel(V, Width) : Table[V];
  }
};

}  // namespace

TBmpMasks DefaultBmpMasks(uint32_t Bits) {
  if (Bits == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0x00FF0000, 0x0000FF00, 0x000000FF};
}

uint8_t ScaleBmpChannel(uint32_t Value, int Width) {
  const double Max = Width >= 32 ? 4294967295.0 : double((uint64_t{1} << Width) - 1);
  return static_cast<uint8_t>(RoundEven(double(Value) * 255.0 / Max));
}

QImage DecodeMaskedBmp(const uchar* Data, int Width, int Height, bool TopDown, uint32_t Bits,
                       const TBmpMasks& Masks) {
  QImage Picture(Width, Height, QImage::Format_RGB32);
  if (Picture.isNull()) return Picture;
  const TChannel Red(Masks.Red), Green(Masks.Green), Blue(Masks.Blue);
  const size_t RowBytes = (size_t(Width) * Bits + 31) / 32 * 4;
  for (int Row = 0; Row < Height; ++Row) {
    const uchar* P = Data + RowBytes * size_t(Row);
    auto* Out = reinterpret_cast<QRgb*>(Picture.scanLine(TopDown ? Row : Height - 1 - Row));
    for (int X = 0; X < Width; ++X) {
      uint32_t Pixel = P[0] | (uint32_t{P[1]} << 8);
      if (Bits == 32) Pixel |= (uint32_t{P[2]} << 16) | (uint32_t{P[3]} << 24);
      P += Bits / 8;
      Out[X] = qRgb(int(Red.Of(Pixel)), int(Green.Of(Pixel)), int(Blue.Of(Pixel)));
    }
  }
  return Picture;
}
