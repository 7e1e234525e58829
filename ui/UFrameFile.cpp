#include "ui/UFrameFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "decision/UBase.h"

namespace {

[[noreturn]] void RaiseSaveError(const QString& FileName, const QString& Reason) {
  throw EModelError(QStringLiteral("Cannot save the frame \"%1\": %2.")
                        .arg(QDir::toNativeSeparators(FileName), Reason)
                        .toStdString());
}

}  // namespace

QString FrameFileName(const QString& Base, int32_t FrameNumber) {
  return Base + QStringLiteral("_") + QString::asprintf("%4.4d", FrameNumber) +
         QStringLiteral(".bmp");
}

void SaveFrame(const QImage& Picture, const QString& FileName) {
  if (Picture.isNull()) RaiseSaveError(FileName, QStringLiteral("there is no picture to save"));
  const QFileInfo Folder(QFileInfo(FileName).absolutePath());
  if (!Folder.exists())
    RaiseSaveError(FileName, QStringLiteral("the folder \"%1\" does not exist")
                                 .arg(QDir::toNativeSeparators(Folder.filePath())));
  if (!Folder.isDir())
    RaiseSaveError(
        FileName,
        QStringLiteral("\"%1\" is not a folder").arg(QDir::toNativeSeparators(Folder.filePath())));

  if (QFileInfo(FileName).isDir())
    RaiseSaveError(FileName, QStringLiteral("a folder of that name is in the way"));

  // The BMP writer keeps indexed pictures indexed; 32-bit pixels always come out at 24 bits.
  const QImage Pixels = Picture.format() == QImage::Format_RGB32
                            ? Picture
                            : Picture.convertToFormat(QImage::Format_RGB32);

  // QSaveFile writes beside the target and renames on commit; never directly in place.
  QSaveFile File(FileName);
  File.setDirectWriteFallback(false);
  if (!File.open(QIODevice::WriteOnly)) RaiseSaveError(FileName, File.errorString());
  QImageWriter Writer(&File, "bmp");
  if (!Writer.write(Pixels) && File.error() == QFileDevice::NoError)
    RaiseSaveError(FileName, Writer.errorString());  // the destructor drops the temporary file
  // A failed write is remembered: commit then drops the temporary file and gives the reason
  // (the error string is only filled in there).
  if (!File.commit()) RaiseSaveError(FileName, File.errorString());
}
