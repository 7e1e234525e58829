#pragma once
// Reading a circuit picture from a BMP file the user chose, refusing anything that would give
// the track wrong pixels or exhaust memory.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

/// Largest width or height accepted, in pixels.
constexpr int32_t MaxCircuitSide = 16384;
/// Largest number of pixels accepted (4096 x 4096): a picture is held three times over by the
/// window and the track, 4 bytes per pixel each.
constexpr int64_t MaxCircuitPixels = 16777216;

/// A circuit picture read from a file, or the reason it was refused.
struct TCircuitPicture {
  QImage Picture;  ///< Format_RGB32, at the file's own size; null when refused
  QString Error;   ///< empty when read; otherwise a sentence naming the file and the reason
  bool Ok() const { return Error.isEmpty(); }
};

/// Reads an uncompressed BMP (1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or top-down).
/// Checks the header and the file's length before decoding, so a damaged, cut-short or
/// oversized file never yields a picture. Other formats, even under a .bmp name, are refused.
/// Any size up to the limits is taken; smaller than the window's image control is not an error.
TCircuitPicture ReadCircuitPicture(const QString& Path);

/// As ReadCircuitPicture, with the file name in the system's own bytes, taken as they are (a
/// name that is not valid UTF-8 included); the message shows it decoded.
TCircuitPicture ReadCircuitPictureNative(const QByteArray& NativePath);

/// As ReadCircuitPicture, for a BMP held in memory (a picture embedded in another file); Name
/// stands for it in the message.
TCircuitPicture ReadCircuitPictureData(const QByteArray& Bytes, const QString& Name);

/// As ReadCircuitPicture, but raises EModelError with the message when the file is refused.
QImage LoadCircuitPicture(const QString& Path);
