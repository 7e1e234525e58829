#pragma once
// The numbered picture files saved after each move while the simulation runs.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

class TAtomicFile;

/// Base + "_" + FrameNumber as "%4.4d" + ".bmp", the base taken exactly as given:
/// ("lap", 1) gives "lap_0001.bmp", ("lap.bmp", 1) gives "lap.bmp_0001.bmp", 10000 gives "_10000".
QString FrameFileName(const QString& Base, int32_t FrameNumber);

/// Writes Picture to FileName as a 24-bit BMP, replacing any regular file of that name. The bytes
/// go to a temporary file in the same folder that is renamed only once complete, so FileName is
/// never left holding part of a picture. Raises EModelError naming the file and the reason when
/// the folder is missing, the file cannot be created, a write fails or the name is taken by
/// anything but a regular file (a folder, a FIFO, a device: left as it is); no temporary file
/// remains.
void SaveFrame(const QImage& Picture, const QString& FileName);

/// As SaveFrame, with the file name in the system's own bytes, taken as they are (a name that is
/// not valid UTF-8 included); messages show it decoded.
void SaveFrameNative(const QImage& Picture, const QByteArray& NativeFileName);

/// As SaveFrameNative, but File is left finished and unnamed, for the caller to Publish together
/// with other files (TAtomicFile). Raises as SaveFrame does.
void PrepareFrameNative(const QImage& Picture, const QByteArray& NativeFileName, TAtomicFile& File);
