// bmpmasks: writes a picture again as a BMP whose pixels carry red, green and blue in channels of
// the given widths (colour masks), such as 10:10:10 in 32 bits or 6:5:5 in 16 bits. The tests
// use it to check that such files drive exactly like the 8-bit original.

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "decision/UBase.h"
#include "io/UCircuitFile.h"

namespace {

void PutU16(QByteArray& B, uint32_t V) {
  B.append(char(V & 0xFF));
  B.append(char((V >> 8) & 0xFF));
}
void PutU32(QByteArray& B, uint32_t V) {
  PutU16(B, V & 0xFFFF);
  PutU16(B, V >> 16);
}

/// An 8-bit value on a channel of Width bits: the nearest of V * (2^Width - 1) / 255.
uint32_t Widen(int V, int Width) {
  return static_cast<uint32_t>(RoundEven(V * double((uint64_t{1} << Width) - 1) / 255.0));
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Red = Argc == 6 ? std::atoi(Argv[3]) : 0, Green = Argc == 6 ? std::atoi(Argv[4]) : 0,
            Blue = Argc == 6 ? std::atoi(Argv[5]) : 0;
  if (Red < 1 || Green < 1 || Blue < 1 || Red + Green + Blue > 32) {
    std::fprintf(stderr, "usage: bmpmasks IN.bmp OUT.bmp RED GREEN BLUE (bits, 32 in all)\n");
    return 2;
  }
  const TCircuitPicture In = ReadCircuitPictureNative(Argv[1]);
  if (!In.Ok()) {
    std::fprintf(stderr, "bmpmasks: %s\n", qPrintable(In.Error));
    return 1;
  }
  const uint32_t Bits = Red + Green + Blue <= 16 ? 16 : 32;
  const uint32_t BlueMask = (1u << Blue) - 1, GreenMask = ((1u << Green) - 1) << Blue;
  const uint32_t RedMask = uint32_t((uint64_t{1} << Red) - 1) << (Blue + Green);
  const int Width = In.Picture.width(), Height = In.Picture.height();
  const int RowBytes = (Width * int(Bits) + 31) / 32 * 4;

  QByteArray File("BM");
  PutU32(File, uint32_t(14 + 40 + 12 + RowBytes * Height));
  PutU32(File, 0);
  PutU32(File, 14 + 40 + 12);
  for (const uint32_t V : {40u, uint32_t(Width), uint32_t(Height)}) PutU32(File, V);
  PutU16(File, 1);
  PutU16(File, Bits);
  for (const uint32_t V : {3u, uint32_t(RowBytes * Height), 2835u, 2835u, 0u, 0u}) PutU32(File, V);
  for (const uint32_t V : {RedMask, GreenMask, BlueMask}) PutU32(File, V);
  for (int Y = Height - 1; Y >= 0; --Y) {
    QByteArray Row;
    for (int X = 0; X < Width; ++X) {
      const QRgb C = In.Picture.pixel(X, Y);
      const uint32_t P = (Widen(qRed(C), Red) << (Blue + Green)) |
                         (Widen(qGreen(C), Green) << Blue) | Widen(qBlue(C), Blue);
      if (Bits == 16)
        PutU16(Row, P);
      else
        PutU32(Row, P);
    }
    File.append(Row.leftJustified(RowBytes, '\0'));
  }
  QFile Out(QFile::decodeName(Argv[2]));
  if (!Out.open(QIODevice::WriteOnly) || Out.write(File) != File.size() || !Out.flush()) {
    std::fprintf(stderr, "bmpmasks: cannot write %s: %s\n", Argv[2], qPrintable(Out.errorString()));
    return 1;
  }
  return 0;
}
