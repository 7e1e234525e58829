#pragma once
// 16- and 32-bit BMP pixels decoded from the colour masks their header gives.
//
// The picture library scales a masked channel by 256 / 2^width, which makes a 5-bit 31 come out
// as 248 and every channel wider than 8 bits come out as 0: a circuit saved with 10-bit masks
// would read as pure black, all off the road. These pixels are therefore decoded here.

#include <QImage>
#include <cstdint>

/// The red, green and blue masks of a pixel, each one run of ones, none overlapping.
struct TBmpMasks {
  uint32_t Red = 0;
  uint32_t Green = 0;
  uint32_t Blue = 0;
};

/// The masks a BMP without masks implies: 5-5-5 at 16 bits, 8-8-8 at 32 bits.
TBmpMasks DefaultBmpMasks(uint32_t Bits);

/// A channel value of Width bits (1 to 32) scaled to 0..255: all ones gives 255, zero gives 0,
/// and between them the nearest of Value * 255 / (2^Width - 1). No value lies exactly halfway,
/// as 2^Width - 1 is odd, and the quotient in doubles is close enough that RoundEven always
/// picks the right neighbour.
uint8_t ScaleBmpChannel(uint32_t Value, int Width);

/// Decodes Height rows of Width pixels of Bits (16 or 32) bits each, rows padded to 4 bytes,
/// from Data (which holds at least that many bytes); the first row in Data is the bottom one
/// unless TopDown. Returns a Format_RGB32 picture, or a null one when memory runs out.
QImage DecodeMaskedBmp(const uchar* Data, int Width, int Height, bool TopDown, uint32_t Bits,
                       const TBmpMasks& Masks);
