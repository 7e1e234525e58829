// Loading circuit pictures: every kind of BMP the user may bring decodes to the colours that
// classify the track, and every damaged or unsuitable file is refused with a message that names
// it, before any picture comes out.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "decision/UBase.h"
#include "io/UBmpMasks.h"
#include "io/UCircuitFile.h"

namespace {

constexpr QRgb Black = 0xFF000000;      // off the road
constexpr QRgb NearBlack = 0xFF000001;  // road, however dark
constexpr QRgb Road = 0xFFFFCE3D;       // the default circuit's road colour
constexpr QRgb DarkRed = 0xFF010000;

/// A BMP file described field by field, so that tests can write damaged ones too.
struct TBmp {
  int32_t Width = 1;
  int32_t Height = 1;  ///< negative for rows stored top-down
  uint16_t Bits = 24;
  uint32_t HeaderSize = 40;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
  uint16_t Planes = 1;
  std::vector<QRgb> Palette = {};
  std::vector<uint32_t> Masks = {};   ///< red, green, blue (and alpha, in the larger headers)
  std::vector<QByteArray> Rows = {};  ///< in file order, unpadded
  int Gap = 0;                        ///< unused bytes between the colour table and the pixels

  QByteArray Bytes() const;
};

void PutU16(QByteArray& B, uint32_t V) {
  B.append(char(V & 0xFF));
  B.append(char((V >> 8) & 0xFF));
}
void PutU32(QByteArray& B, uint32_t V) {
  PutU16(B, V & 0xFFFF);
  PutU16(B, V >> 16);
}

QByteArray TBmp::Bytes() const {
  QByteArray Info;
  if (HeaderSize == 12) {
    PutU32(Info, 12);
    PutU16(Info, uint32_t(Width));
    PutU16(Info, uint32_t(Height));
    PutU16(Info, Planes);
    PutU16(Info, Bits);
  } else {
    PutU32(Info, HeaderSize);
    PutU32(Info, uint32_t(Width));
    PutU32(Info, uint32_t(Height));
    PutU16(Info, Planes);
    PutU16(Info, Bits);
    PutU32(Info, Compression);
    PutU32(Info, 0);
    PutU32(Info, 2835);
    PutU32(Info, 2835);
    PutU32(Info, ColorsUsed);
    PutU32(Info, 0);
    for (uint32_t Mask : Masks) PutU32(Info, Mask);
    if (HeaderSize > 40) Info.append(QByteArray(int(HeaderSize) - Info.size(), '\0'));
  }
  for (QRgb C : Palette) {
    Info.append(char(qBlue(C)));
    Info.append(char(qGreen(C)));
    Info.append(char(qRed(C)));
    if (HeaderSize != 12) Info.append('\0');
  }
  Info.append(QByteArray(Gap, '\x55'));
  QByteArray Pixels;
  const int RowBytes = (Width * Bits + 31) / 32 * 4;
  for (const QByteArray& Row : Rows) Pixels.append(Row.leftJustified(RowBytes, '\0', true));
  QByteArray File("BM");
  PutU32(File, uint32_t(14 + Info.size() + Pixels.size()));
  PutU32(File, 0);
  PutU32(File, uint32_t(14 + Info.size()));
  return File + Info + Pixels;
}

QByteArray Le16(std::initializer_list<uint32_t> Values) {
  QByteArray B;
  for (uint32_t V : Values) PutU16(B, V);
  return B;
}

QByteArray Bytes(std::initializer_list<int> Values) {
  QByteArray B;
  for (int V : Values) B.append(char(V));
  return B;
}

/// 4 x 4 pixels at 24 bits, all road: the healthy file the damaged ones start from.
const QByteArray Healthy =
    TBmp{.Width = 4, .Height = 4, .Rows = std::vector<QByteArray>(4, QByteArray(12, '\x3D'))}
        .Bytes();

/// Healthy with the little-endian value V of Size bytes written at Offset.
QByteArray Patched(int Offset, uint32_t V, int Size = 4) {
  QByteArray F = Healthy;
  for (int I = 0; I < Size; ++I) F[Offset + I] = char((V >> (8 * I)) & 0xFF);
  return F;
}

class CircuitFileTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;

  QString Write(const QString& Name, const QByteArray& Contents) {
    const QString Path = Dir.filePath(Name);
    QFile F(Path);
    EXPECT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Contents);
    KeepAsFuzzSeed(Contents);
    return Path;
  }

  /// Every file the tests make also seeds the reader's fuzzer (see the README).
  static void KeepAsFuzzSeed(const QByteArray& Contents) {
    const QString Seeds = QStringLiteral(KARTS_FUZZ_SEEDS);
    QDir().mkpath(Seeds);
    QFile Seed(Seeds + "/" + QCryptographicHash::hash(Contents, QCryptographicHash::Sha1).toHex() +
               ".bmp");
    if (Contents.size() <= 65536 && Seed.open(QIODevice::WriteOnly)) Seed.write(Contents);
  }
};

struct TDepthCase {
  const char* Name;
  TBmp File;
  std::vector<QRgb> Expected;  ///< top row first
  int Tolerance = 0;           ///< per channel; 16-bit files keep only 5 or 6 bits
};

TEST_F(CircuitFileTest, EveryDepthDecodesToColoursThatClassifyTheTrack) {
  const QRgb B = Black, N = NearBlack, R = Road, D = DarkRed;
  std::vector<QRgb> CoreTable(256, D);
  CoreTable[0] = B, CoreTable[1] = N;
  const TDepthCase Cases[] = {
      // 5 wide: the row ends inside its byte, then is padded to 4 bytes.
      {"1-bit",
       {.Width = 5,
        .Height = 2,
        .Bits = 1,
        .Palette = {B, N},
        .Rows = {Bytes({0b10100000}), Bytes({0b01011000})}},
       {B, N, B, N, N, N, B, N, B, B}},
      // A short colour table: only the entries the pixels use.
      {"4-bit",
       {.Width = 3,
        .Height = 2,
        .Bits = 4,
        .ColorsUsed = 3,
        .Palette = {B, N, R},
        .Rows = {Bytes({0x01, 0x20}), Bytes({0x21, 0x00})}},
       {R, N, B, B, N, R}},
      {"8-bit",
       {.Width = 3,
        .Bits = 8,
        .ColorsUsed = 4,
        .Palette = {B, N, R, D},
        .Rows = {Bytes({3, 0, 2})}},
       {D, B, R}},
      // 5-5-5: blue 1 of 31 must stay road.
      {"16-bit 555",
       {.Width = 3, .Bits = 16, .Rows = {Le16({0, 1, (31u << 10) | (25u << 5) | 7u})}},
       {B, 0xFF000008, 0xFFFFCE39},
       8},
      {"16-bit 565 masks",
       {.Width = 3,
        .Bits = 16,
        .Compression = 3,
        .Masks = {0xF800, 0x07E0, 0x001F},
        .Rows = {Le16({0, 1u << 11, (31u << 11) | (51u << 5) | 7u})}},
       {B, 0xFF080000, 0xFFFFCE39},
       8},
      // 3 wide: 9 bytes a row, padded to 12.
      {"24-bit",
       {.Width = 3,
        .Height = 2,
        .Rows = {Bytes({0, 0, 0, 1, 0, 0, 61, 206, 255}), Bytes({0, 0, 1, 0, 0, 0, 0, 0, 0})}},
       {D, B, B, B, N, R}},
      {"24-bit top-down",
       {.Width = 2,
        .Height = -2,
        .Rows = {Bytes({0, 0, 0, 1, 0, 0}), Bytes({61, 206, 255, 0, 0, 0})}},
       {B, N, R, B}},
      // The fourth byte is unused and commonly 0: it must not darken the pixel.
      {"32-bit",
       {.Width = 3, .Bits = 32, .Rows = {Bytes({0, 0, 0, 0, 1, 0, 0, 0, 61, 206, 255, 0})}},
       {B, N, R}},
      // Fully transparent pixels still carry their colour.
      {"32-bit with alpha",
       {.Width = 3,
        .Bits = 32,
        .HeaderSize = 124,
        .Compression = 3,
        .Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
        .Rows = {Bytes({0, 0, 0, 0, 1, 0, 0, 0, 61, 206, 255, 0})}},
       {B, N, R}},
      // The oldest header: 3-byte colour table entries, always a full table.
      {"8-bit core header",
       {.Width = 3, .Bits = 8, .HeaderSize = 12, .Palette = CoreTable, .Rows = {Bytes({1, 0, 9})}},
       {N, B, D}},
      {"24-bit 64-byte header",
       {.Width = 2, .HeaderSize = 64, .Rows = {Bytes({0, 0, 0, 61, 206, 255})}},
       {B, R}},
      // Unused bytes before the pixels are skipped.
      {"gap", {.Width = 2, .Rows = {Bytes({0, 0, 0, 61, 206, 255})}, .Gap = 10}, {B, R}},
  };

  for (const TDepthCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TCircuitPicture R = ReadCircuitPicture(Write("depth.bmp", C.File.Bytes()));
    ASSERT_TRUE(R.Ok()) << R.Error.toStdString();
    ASSERT_EQ(R.Picture.format(), QImage::Format_RGB32);
    ASSERT_EQ(R.Picture.width(), C.File.Width);
    ASSERT_EQ(R.Picture.height(), std::abs(C.File.Height));
    for (int Y = 0; Y < R.Picture.height(); ++Y)
      for (int X = 0; X < R.Picture.width(); ++X) {
        SCOPED_TRACE(testing::Message() << "pixel " << X << ", " << Y);
        const QRgb Got = R.Picture.pixel(X, Y);
        const QRgb Want = C.Expected[size_t(Y * R.Picture.width() + X)];
        // The track's rule is exact: only 0, 0, 0 is off the road.
        EXPECT_EQ(Got == Black, Want == Black);
        EXPECT_NEAR(qRed(Got), qRed(Want), C.Tolerance);
        EXPECT_NEAR(qGreen(Got), qGreen(Want), C.Tolerance);
        EXPECT_NEAR(qBlue(Got), qBlue(Want), C.Tolerance);
      }
  }
}

// The picture library scales a masked channel by 256 / 2^width: 10-bit channels came out as 0,
// turning a whole circuit black (all off the road), and 5-bit 31 as 248. Each channel is scaled
// from its own width: all ones is 255, and between, the nearest of v * 255 / (2^width - 1).
TEST_F(CircuitFileTest, MaskedPixelsDecodeToTheColoursTheirHeaderSays) {
  auto Le32 = [](std::initializer_list<uint32_t> Values) {
    QByteArray B;
    for (uint32_t V : Values) PutU32(B, V);
    return B;
  };
  const QRgb W = 0xFFFFFFFF, B = Black;
  const TDepthCase Cases[] = {
      {"10:10:10",
       {.Width = 3,
        .Bits = 32,
        .Compression = 3,
        .Masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
        .Rows = {Le32({0x3FFFFFFF, 0, (1023u << 20) | (827u << 10) | 245u})}},
       {W, B, Road}},
      // 9-bit red in 16 bits; blue 1 of 7 is 36.4.
      {"9:4:3",
       {.Width = 3,
        .Bits = 16,
        .Compression = 3,
        .Masks = {0xFF80, 0x0078, 0x0007},
        .Rows = {Le16({0xFF80, 0x0001, 0})}},
       {0xFFFF0000, 0xFF000024, B}},
      // Red 32 of 63 is 129.52; blue 1 of 31 is 8.2: still road.
      {"6:5:5 top-down",
       {.Width = 2,
        .Height = -2,
        .Bits = 16,
        .Compression = 3,
        .Masks = {0xFC00, 0x03E0, 0x001F},
        .Rows = {Le16({0xFFFF, 0}), Le16({1, 0x8000})}},
       {W, B, 0xFF000008, 0xFF820000}},
      {"1:1:1",
       {.Width = 4, .Bits = 16, .Compression = 3, .Masks = {4, 2, 1}, .Rows = {Le16({7, 4, 2, 1})}},
       {W, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
      // Without masks 16 bits are 5:5:5, and full scale is white, not 248.
      {"5:5:5 full scale", {.Width = 1, .Bits = 16, .Rows = {Le16({0x7FFF})}}, {W}},
  };
  for (const TDepthCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TCircuitPicture R = ReadCircuitPicture(Write("masked.bmp", C.File.Bytes()));
    ASSERT_TRUE(R.Ok()) << R.Error.toStdString();
    ASSERT_EQ(R.Picture.format(), QImage::Format_RGB32);
    for (int Y = 0; Y < R.Picture.height(); ++Y)
      for (int X = 0; X < R.Picture.width(); ++X)
        EXPECT_EQ(R.Picture.pixel(X, Y), C.Expected[size_t(Y * R.Picture.width() + X)])
            << "pixel " << X << ", " << Y;
  }

  // The scaling in doubles against exact integer arithmetic (no value lies halfway).
  for (int Width = 1; Width <= 31; ++Width) {
    const uint64_t Max = (uint64_t{1} << Width) - 1;
    const uint64_t Step = Width <= 16 ? 1 : Max / 65521;
    for (uint64_t V = 0; V <= Max; V += Step)
      ASSERT_EQ(ScaleBmpChannel(uint32_t(V), Width), (2 * V * 255 + Max) / (2 * Max))
          << V << " of " << Width << " bits";
    EXPECT_EQ(ScaleBmpChannel(uint32_t(Max), Width), 255);
  }
}

TEST_F(CircuitFileTest, ToleratesAWrongFileSizeFieldAndTrailingBytes) {
  // Writers often leave the total size at 0.
  const QByteArray File = Patched(2, 0) + QByteArray(7, '\x77');
  const TCircuitPicture R = ReadCircuitPicture(Write("loose.bmp", File));
  ASSERT_TRUE(R.Ok()) << R.Error.toStdString();
  EXPECT_EQ(R.Picture.size(), QSize(4, 4));
}

struct TBadCase {
  const char* Name;
  QByteArray Contents;
  const char* Reason;  ///< a fragment the message must hold
};

TEST_F(CircuitFileTest, RefusesDamagedFilesNamingTheFileAndTheReason) {
  QByteArray Png;
  QBuffer Buffer(&Png);
  Buffer.open(QIODevice::WriteOnly);
  QImage Picture(4, 4, QImage::Format_RGB32);
  Picture.fill(Road);
  Picture.save(&Buffer, "PNG");
  auto Masked = [](std::vector<uint32_t> Masks) {
    return TBmp{.Bits = 16, .Compression = 3, .Masks = Masks, .Rows = {Le16({0x5555})}}.Bytes();
  };

  const TBadCase Cases[] = {
      {"empty", QByteArray(), "the file is empty"},
      {"cut in the file header", Healthy.left(10), "ends inside its header (10 bytes)"},
      {"cut in the info header", Healthy.left(30), "ends inside its header (30 bytes)"},
      {"unknown header size", Patched(14, 41), "a header of 41 bytes"},
      {"no colour planes", Patched(26, 0, 2), "0 colour planes instead of 1"},
      {"zero width", Patched(18, 0), "a size of 0 x 4 pixels"},
      {"odd depth", Patched(28, 7, 2), "(7 bits per pixel)"},
      // Run-length data may skip pixels, which would come out as leftover memory.
      {"RLE",
       TBmp{.Bits = 8,
            .Compression = 1,
            .ColorsUsed = 2,
            .Palette = {Black, Road},
            .Rows = {Bytes({1, 1, 0, 1})}}
           .Bytes(),
       "RLE-compressed"},
      {"embedded JPEG", Patched(30, 4), "compression 4 at 24 bits"},
      {"masks at 24 bits", Patched(30, 3), "compression 3 at 24 bits"},
      {"gapped masks", Masked({0x5555, 0xAAAA, 0x0000}), "unusable colour masks"},
      {"missing mask", Masked({0x7C00, 0x03E0, 0}), "unusable colour masks"},
      {"overlapping masks", Masked({0x7C00, 0x07E0, 0x001F}),
       "unusable colour masks: red 0x7c00, green 0x7e0, blue 0x1f at 16 bits per pixel"},
      {"mask wider than the pixel", Masked({0xF800, 0x07E0, 0x1001F}), "unusable colour masks"},
      {"oversized colour table",
       TBmp{.Bits = 8,
            .ColorsUsed = 300,
            .Palette = std::vector<QRgb>(300, Road),
            .Rows = {Bytes({0})}}
           .Bytes(),
       "a colour table of 300 colours"},
      {"pixels inside the header", Patched(10, 20), "would start at byte 20"},
      {"pixel data cut short", Healthy.left(Healthy.size() - 1), "the pixel data is cut short"},
      {"index past the table",
       TBmp{.Width = 3,
            .Bits = 8,
            .ColorsUsed = 3,
            .Palette = {Black, NearBlack, Road},
            .Rows = {Bytes({0, 200, 1})}}
           .Bytes(),
       "uses colour 200, but the colour table has only 3"},
      {"1-bit with one colour",
       TBmp{.Width = 8, .Bits = 1, .ColorsUsed = 1, .Palette = {Road}, .Rows = {Bytes({0x10})}}
           .Bytes(),
       "uses colour 1, but the colour table has only 1"},
      {"PNG renamed", Png, "not a BMP picture but a PNG picture"},
      {"text renamed", "just some notes\n", "it does not start with \"BM\""},
  };

  for (const TBadCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const QString Path = Write("bad.bmp", C.Contents);
    const TCircuitPicture R = ReadCircuitPicture(Path);
    EXPECT_FALSE(R.Ok());
    EXPECT_TRUE(R.Picture.isNull());
    EXPECT_TRUE(R.Error.startsWith("Cannot load the circuit \"" + Path + "\": "))
        << R.Error.toStdString();
    EXPECT_TRUE(R.Error.contains(QString::fromUtf8(C.Reason))) << R.Error.toStdString();
    try {
      LoadCircuitPicture(Path);
      ADD_FAILURE() << "no error raised";
    } catch (const EModelError& E) {
      EXPECT_EQ(QString::fromStdString(E.what()), R.Error);
    }
  }
}

TEST_F(CircuitFileTest, RefusesWhatIsNotAFile) {
  const QString Missing = Dir.filePath("nowhere.bmp");
  EXPECT_EQ(ReadCircuitPicture(Missing).Error,
            "Cannot load the circuit \"" + Missing + "\": the file does not exist.");
  ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.bmp"));
  EXPECT_TRUE(ReadCircuitPicture(Dir.filePath("folder.bmp")).Error.contains("it is a folder"));
  EXPECT_THROW(LoadCircuitPicture(Missing), EModelError);

  // Messages say what is really there.
  const QByteArray Folder = QFile::encodeName(Dir.path());
  ASSERT_EQ(symlink("loop2", Folder + "/loop1"), 0);
  ASSERT_EQ(symlink("loop1", Folder + "/loop2"), 0);
  ASSERT_EQ(symlink("nowhere.bmp", Folder + "/dangling.bmp"), 0);
  const std::pair<QByteArray, const char*> Cases[] = {
      {Folder + "/loop1", "its path is a loop of symbolic links"},
      {Folder + "/dangling.bmp", "a symbolic link to a file that does not exist"},
      {Folder + "/folder.bmp/x.bmp", "the file does not exist"},
      {"/proc/self/status", "it does not start with \"BM\""},
      {"/dev/null", "it is a character device, not a regular file"},
  };
  for (const auto& [Name, Reason] : Cases)
    EXPECT_TRUE(ReadCircuitPictureNative(Name).Error.contains(Reason))
        << ReadCircuitPictureNative(Name).Error.toStdString();

  // A name that is not UTF-8 is the system's name all the same.
  const QByteArray Latin1 = Folder + "/caf\xE9.bmp";
  QFile Healthy4(QFile::decodeName(Folder) + "/h.bmp");
  ASSERT_TRUE(Healthy4.open(QIODevice::WriteOnly));
  Healthy4.write(Healthy);
  Healthy4.close();
  ASSERT_EQ(rename(Folder + "/h.bmp", Latin1), 0);
  const TCircuitPicture R = ReadCircuitPictureNative(Latin1);
  EXPECT_TRUE(R.Ok()) << R.Error.toStdString();
  // The temporary folder cannot remove a loop of links itself.
  unlink(Folder + "/loop1");
  unlink(Folder + "/loop2");
}

TEST_F(CircuitFileTest, RefusesPicturesAboveTheSizeLimitBeforeDecoding) {
  // Only the header claims the size: the limit must be met before the length is checked.
  const struct {
    int32_t Width, Height;
  } Claims[] = {{20000, 20000}, {4097, 4096}, {MaxCircuitSide + 1, 1}, {1, -(MaxCircuitSide + 1)}};
  for (const auto& Claim : Claims) {
    SCOPED_TRACE(testing::Message() << Claim.Width << " x " << Claim.Height);
    TBmp B;
    B.Width = Claim.Width, B.Height = Claim.Height, B.Bits = 1, B.Palette = {Black, Road};
    B.Rows = {Bytes({0})};
    const TCircuitPicture R = ReadCircuitPicture(Write("huge.bmp", B.Bytes()));
    EXPECT_TRUE(R.Error.contains(QStringLiteral("the picture is %1 x %2 pixels, more than")
                                     .arg(Claim.Width)
                                     .arg(std::abs(Claim.Height))))
        << R.Error.toStdString();
    EXPECT_TRUE(R.Error.contains("at most 16384 pixels a side and 16777216 pixels in all"));
  }

  // Exactly at the limit is taken, at its own size.
  TBmp B;
  B.Width = 4096, B.Height = 4096, B.Bits = 1, B.Palette = {Black, Road};
  B.Rows.assign(4096, QByteArray(512, '\x0F'));
  const TCircuitPicture R = ReadCircuitPicture(Write("limit.bmp", B.Bytes()));
  ASSERT_TRUE(R.Ok()) << R.Error.toStdString();
  EXPECT_EQ(R.Picture.size(), QSize(4096, 4096));
  EXPECT_EQ(R.Picture.pixel(0, 0), Black);
  EXPECT_EQ(R.Picture.pixel(4095, 4095), Road);
}

}  // namespace
