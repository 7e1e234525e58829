#include "io/UCircuitFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "decision/UBase.h"
#include "io/UBmpMasks.h"
#include "io/UFileKind.h"

namespace {

// Kinds of BMP header (by their size in bytes) that the decoder reads correctly.
constexpr uint32_t CoreHeader = 12;
constexpr uint32_t InfoHeader = 40;
constexpr uint32_t Os2Header = 64;
constexpr uint32_t V4Header = 108;
constexpr uint32_t V5Header = 124;

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t BiRgb = 0;
constexpr uint32_t BiRle8 = 1;
constexpr uint32_t BiRle4 = 2;
constexpr uint32_t BiBitfields = 3;
/// Most bytes read from a file that reports no length: more than any accepted picture needs.
constexpr int64_t MaxUnsizedBytes = int64_t{80} << 20;

/// What the header says, once it is known to describe a picture the decoder handles.
struct TBmpLayout {
  int64_t Width = 0;
  int64_t Height = 0;  ///< rows, whatever their order in the file
  uint32_t Bits = 0;
  int64_t Colors = 0;  ///< entries of the colour table; 0 above 8 bits per pixel
  bool TopDown = false;
  int64_t DataStart = 0;
  TBmpMasks Masks;  ///< at 16 and 32 bits per pixel
};

uint32_t ReadU16(const QByteArray& Bytes, int Offset) {
  const auto* P = reinterpret_cast<const uint8_t*>(Bytes.constData()) + Offset;
  return P[0] | (uint32_t{P[1]} << 8);
}

uint32_t ReadU32(const QByteArray& Bytes, int Offset) {
  return ReadU16(Bytes, Offset) | (ReadU16(Bytes, Offset + 2) << 16);
}

int32_t ReadI32(const QByteArray& Bytes, int Offset) {
  return static_cast<int32_t>(ReadU32(Bytes, Offset));
}

// Overlapping, gapped or empty masks give no colour that a picture could mean: refused.
bool MasksUsable(const TBmpMasks& Masks, uint32_t Bits) {
  const uint32_t Limit = Bits == 32 ? 0xFFFFFFFFu : (1u << Bits) - 1;
  uint32_t Seen = 0;
  for (const uint32_t Mask : {Masks.Red, Masks.Green, Masks.Blue}) {
    if (Mask == 0 || (Mask & ~Limit) != 0 || (Mask & Seen) != 0) return false;
    const uint32_t Shifted = Mask >> std::countr_zero(Mask);
    if ((Shifted & (Shifted + 1)) != 0) return false;  // not one run of ones
    Seen |= Mask;
  }
  return true;
}

/// Checks the header against the file's real length; returns the reason for refusing, or an
/// empty string with Layout filled in.
QString CheckHeader(const QByteArray& Head, int64_t FileSize, TBmpLayout& Layout) {
  const auto Cut = [&] {
    return QStringLiteral("the file ends inside its header (%1 bytes)").arg(FileSize);
  };
  if (Head.size() < static_cast<int>(FileHeaderSize + 4)) return Cut();
  const uint32_t HeaderSize = ReadU32(Head, FileHeaderSize);
  if (HeaderSize != CoreHeader && HeaderSize != InfoHeader && HeaderSize != Os2Header &&
      HeaderSize != V4Header && HeaderSize != V5Header)
    return QStringLiteral(
               "its header is damaged (a header of %1 bytes is not one of the BMP kinds this "
               "program reads)")
        .arg(HeaderSize);
  if (FileSize < FileHeaderSize + HeaderSize) return Cut();

  const int D = FileHeaderSize;
  const bool Core = HeaderSize == CoreHeader;
  // Kept signed: a ternary of the 16- and 32-bit reads would turn -2 into 4294967294.
  const int64_t Width = Core ? int64_t{ReadU16(Head, D + 4)} : int64_t{ReadI32(Head, D + 4)};
  const int64_t RawHeight = Core ? int64_t{ReadU16(Head, D + 6)} : int64_t{ReadI32(Head, D + 8)};
  const uint32_t Planes = ReadU16(Head, Core ? D + 8 : D + 12);
  const uint32_t Bits = ReadU16(Head, Core ? D + 10 : D + 14);
  const uint32_t Compression = Core ? BiRgb : ReadU32(Head, D + 16);
  const uint32_t ColorsUsed = Core ? 0 : ReadU32(Head, D + 32);

  if (Planes != 1)
    return QStringLiteral("its header is damaged (%1 colour planes instead of 1)").arg(Planes);
  if (Width <= 0 || RawHeight == 0)
    return QStringLiteral("its header is damaged (a size of %1 x %2 pixels)")
        .arg(Width)
        .arg(RawHeight);
  const bool DepthKnown =
      Bits == 1 || Bits == 4 || Bits == 8 || Bits == 24 || (!Core && (Bits == 16 || Bits == 32));
  if (!DepthKnown)
    return QStringLiteral("its header is damaged or of an unsupported depth (%1 bits per pixel)")
        .arg(Bits);

  // Run-length data may skip pixels, which the decoder leaves holding leftover memory.
  if (Compression == BiRle8 || Compression == BiRle4)
    return QStringLiteral(
        "it is RLE-compressed, which this program does not read (save it uncompressed)");
  const bool Masked = Compression == BiBitfields;
  if (!(Compression == BiRgb || (Masked && (Bits == 16 || Bits == 32) && HeaderSize != Os2Header)))
    return QStringLiteral(
               "it uses compression %1 at %2 bits per pixel, which this program "
               "does not read")
        .arg(Compression)
        .arg(Bits);
  const uint32_t MasksEnd = FileHeaderSize + InfoHeader + (Masked ? 12 : 0);
  if (Masked && FileSize < MasksEnd) return Cut();
  TBmpMasks Masks = DefaultBmpMasks(Bits);
  if (Masked) {
    const int M = FileHeaderSize + InfoHeader;
    Masks = {ReadU32(Head, M), ReadU32(Head, M + 4), ReadU32(Head, M + 8)};
  }
  if (Masked && !MasksUsable(Masks, Bits))
    return QStringLiteral(
               "its header is damaged (unusable colour masks: red %1, green %2, blue %3 at %4 "
               "bits per pixel)")
        .arg(QStringLiteral("0x%1").arg(Masks.Red, 0, 16))
        .arg(QStringLiteral("0x%1").arg(Masks.Green, 0, 16))
        .arg(QStringLiteral("0x%1").arg(Masks.Blue, 0, 16))
        .arg(Bits);

  const int64_t Height = std::llabs(RawHeight);
  if (Width > MaxCircuitSide || Height > MaxCircuitSide || Width * Height > MaxCircuitPixels)
    return QStringLiteral(
               "the picture is %1 x %2 pixels, more than this program accepts (at most %3 "
               "pixels a side and %4 pixels in all, such as 4096 x 4096)")
        .arg(Width)
        .arg(Height)
        .arg(MaxCircuitSide)
        .arg(MaxCircuitPixels);

  int64_t Colors = 0;
  if (Bits <= 8) {
    const int64_t Full = int64_t{1} << Bits;
    if (ColorsUsed > Full)
      return QStringLiteral(
                 "its header is damaged (a colour table of %1 colours at %2 bits per pixel)")
          .arg(ColorsUsed)
          .arg(Bits);
    Colors = ColorsUsed == 0 ? Full : ColorsUsed;
  }
  const int64_t TableEnd = int64_t{FileHeaderSize} + HeaderSize +
                           (Masked && HeaderSize == InfoHeader ? 12 : 0) + Colors * (Core ? 3 : 4);
  const int64_t DataStart = ReadU32(Head, 10);
  if (DataStart < TableEnd)
    return QStringLiteral(
               "its header is damaged (the pixel data would start at byte %1, inside the "
               "header or the colour table, which end at byte %2)")
        .arg(DataStart)
        .arg(TableEnd);

  // The decoder reads whatever is there and fills the rest with leftover memory.
  const int64_t RowBytes = (Width * Bits + 31) / 32 * 4;
  const int64_t Needed = DataStart + RowBytes * Height;
  if (FileSize < Needed)
    return QStringLiteral(
               "the pixel data is cut short (%1 x %2 pixels at %3 bits per pixel need %4 bytes, "
               "the file has %5)")
        .arg(Width)
        .arg(Height)
        .arg(Bits)
        .arg(Needed)
        .arg(FileSize);

  Layout = TBmpLayout{Width, Height, Bits, Colors, RawHeight < 0, DataStart, Masks};
  return {};
}

/// The first colour index at or beyond Colors, or -1 when every pixel names a real colour.
int64_t FirstUndefinedIndex(const QImage& Image, int64_t Colors) {
  for (int Y = 0; Y < Image.height(); ++Y) {
    if (Image.format() == QImage::Format_Indexed8) {
      const uchar* Row = Image.constScanLine(Y);
      for (int X = 0; X < Image.width(); ++X)
        if (Row[X] >= Colors) return Row[X];
    } else {
      for (int X = 0; X < Image.width(); ++X)
        if (Image.pixelIndex(X, Y) >= Colors) return Image.pixelIndex(X, Y);
    }
  }
  return -1;
}

QString SystemReason(int Errno) { return QString::fromLocal8Bit(std::strerror(Errno)); }

/// Why Native cannot be opened, in words that say what is actually there.
QString OpenFailure(const QByteArray& Native, int Errno) {
  struct stat Link {};
  switch (Errno) {
    case ENOENT:
      if (lstat(Native.constData(), &Link) == 0 && S_ISLNK(Link.st_mode))
        return QStringLiteral("it is a symbolic link to a file that does not exist");
      return QStringLiteral("the file does not exist");
    case ELOOP:
      return QStringLiteral("its path is a loop of symbolic links");
    case ENOTDIR:
      return QStringLiteral("a part of its path is not a folder");
    default:
      return QStringLiteral("the file cannot be opened (%1)").arg(SystemReason(Errno));
  }
}

/// Checks and decodes the BMP that Source holds (FileSize bytes).
QString DecodeReason(QIODevice& Source, int64_t FileSize, QImage& Picture);

QString ReadReason(const QByteArray& Native, QImage& Picture) {
  if (Native.isEmpty() || Native.contains('\0')) return QStringLiteral("the file does not exist");
  // Opened without blocking, so a pipe of that name cannot stall the program; checked as opened.
  const int Fd = ::open(Native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) return OpenFailure(Native, errno);
  QFile File;
  if (!File.open(Fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(Fd);
    return QStringLiteral("the file cannot be opened (%1)").arg(File.errorString());
  }
  struct stat Info {};
  if (fstat(Fd, &Info) != 0)
    return QStringLiteral("the file cannot be read (%1)").arg(SystemReason(errno));
  if (S_ISDIR(Info.st_mode)) return QStringLiteral("it is a folder, not a file");
  if (!S_ISREG(Info.st_mode))
    return QStringLiteral("it is %1, not a regular file")
        .arg(QString::fromStdString(FileKindName(Info.st_mode)));

  // Some system files (/proc) claim a length of 0 and still hold text: read what is there.
  QByteArray Whole;
  QBuffer Contents(&Whole);
  QIODevice* Source = &File;
  int64_t FileSize = Info.st_size;
  if (FileSize == 0) {
    Whole = File.read(MaxUnsizedBytes + 1);
    if (Whole.isEmpty() && File.error() != QFileDevice::NoError)
      return QStringLiteral("the file cannot be read (%1)").arg(File.errorString());
    if (Whole.isEmpty()) return QStringLiteral("the file is empty");
    if (Whole.size() > MaxUnsizedBytes)
      return QStringLiteral("it reports no length and holds more than %1 bytes")
          .arg(MaxUnsizedBytes);
    Contents.open(QIODevice::ReadOnly);
    Source = &Contents;
    FileSize = Whole.size();
  }

  return DecodeReason(*Source, FileSize, Picture);
}

QString DecodeReason(QIODevice& Device, int64_t FileSize, QImage& Picture) {
  QIODevice* Source = &Device;
  const QByteArray Head = Source->peek(FileHeaderSize + V5Header + 12);
  if (!Head.startsWith("BM")) {
    // Other formats are refused even when they would decode: only BMP is checked for damage.
    const QByteArray Format = QImageReader::imageFormat(Source);
    if (!Format.isEmpty())
      return QStringLiteral("it is not a BMP picture but a %1 picture")
          .arg(QString::fromLatin1(Format.toUpper()));
    return QStringLiteral("it is not a BMP picture (it does not start with \"BM\")");
  }

  TBmpLayout Layout;
  if (QString Reason = CheckHeader(Head, FileSize, Layout); !Reason.isEmpty()) return Reason;

  if (Layout.Bits == 16 || Layout.Bits == 32) {
    // Decoded here from the masks: the library's own decoding loses wide channels.
    const QByteArray Data =
        Source->seek(Layout.DataStart)
            ? Source->read((Layout.Width * Layout.Bits + 31) / 32 * 4 * Layout.Height)
            : QByteArray();
    if (Data.size() < (Layout.Width * Layout.Bits + 31) / 32 * 4 * Layout.Height)
      return QStringLiteral("the pixel data cannot be read (%1)").arg(Source->errorString());
    Picture = DecodeMaskedBmp(reinterpret_cast<const uchar*>(Data.constData()), int(Layout.Width),
                              int(Layout.Height), Layout.TopDown, Layout.Bits, Layout.Masks);
    if (Picture.isNull())
      return QStringLiteral("there is not enough memory for a picture of %1 x %2 pixels")
          .arg(Layout.Width)
          .arg(Layout.Height);
    return {};
  }

  QImageReader Reader(Source, "bmp");
  const QImage Decoded = Reader.read();
  if (Decoded.isNull())
    return QStringLiteral("the picture cannot be decoded (%1)").arg(Reader.errorString());
  if (Decoded.width() != Layout.Width || Decoded.height() != Layout.Height)
    return QStringLiteral("the picture cannot be decoded (it came out %1 x %2 pixels)")
        .arg(Decoded.width())
        .arg(Decoded.height());
  // An index past the colour table would come out in an arbitrary colour.
  if (Layout.Colors > 0 && Layout.Colors < (int64_t{1} << Layout.Bits)) {
    if (const int64_t Index = FirstUndefinedIndex(Decoded, Layout.Colors); Index >= 0)
      return QStringLiteral(
                 "it is damaged (a pixel uses colour %1, but the colour table has only %2)")
          .arg(Index)
          .arg(Layout.Colors);
  }
  Picture = Decoded.convertToFormat(QImage::Format_RGB32);
  if (Picture.isNull())
    return QStringLiteral("there is not enough memory for a picture of %1 x %2 pixels")
        .arg(Layout.Width)
        .arg(Layout.Height);
  return {};
}

TCircuitPicture ReadAs(const QByteArray& NativePath, const QString& Path) {
  TCircuitPicture Result;
  const QString Reason = ReadReason(NativePath, Result.Picture);
  if (!Reason.isEmpty()) {
    Result.Picture = QImage();
    Result.Error = QStringLiteral("Cannot load the circuit \"%1\": %2.")
                       .arg(QDir::toNativeSeparators(Path), Reason);
  }
  return Result;
}

}  // namespace

TCircuitPicture ReadCircuitPicture(const QString& Path) {
  return ReadAs(QFile::encodeName(Path), Path);
}

TCircuitPicture ReadCircuitPictureNative(const QByteArray& NativePath) {
  return ReadAs(NativePath, QFile::decodeName(NativePath));
}

TCircuitPicture ReadCircuitPictureData(const QByteArray& Bytes, const QString& Name) {
  TCircuitPicture Result;
  QByteArray Copy = Bytes;
  QBuffer Source(&Copy);
  Source.open(QIODevice::ReadOnly);
  const QString Reason = Bytes.isEmpty() ? QStringLiteral("the picture is empty")
                                         : DecodeReason(Source, Bytes.size(), Result.Picture);
  if (!Reason.isEmpty()) {
    Result.Picture = QImage();
    Result.Error = QStringLiteral("Cannot load the circuit \"%1\": %2.").arg(Name, Reason);
  }
  return Result;
}

QImage LoadCircuitPicture(const QString& Path) {
  TCircuitPicture Result = ReadCircuitPicture(Path);
  if (!Result.Ok()) throw EModelError(Result.Error.toStdString());
  return std::move(Result.Picture);
}
