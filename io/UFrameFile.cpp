#include "io/UFrameFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <cerrno>
#include <cstring>
#include <string>

#include "decision/UBase.h"
#include "io/UAtomicFile.h"

namespace {

[[noreturn]] void RaiseSaveError(const QString& FileName, const QString& Reason) {
  throw EModelError(QStringLiteral("Cannot save the frame \"%1\": %2.")
                        .arg(QDir::toNativeSeparators(FileName), Reason)
                        .toStdString());
}

/// The folder that holds Native, made absolute, in the system's bytes.
std::string FolderOf(const std::string& Native) {
  std::string Absolute = Native;
  if (Absolute.empty() || Absolute[0] != '/') {
    const QByteArray Here = QFile::encodeName(QDir::currentPath());
    Absolute = Here.toStdString() + "/" + Absolute;
  }
  const size_t Slash = Absolute.rfind('/');
  return Slash == 0 ? std::string("/") : Absolute.substr(0, Slash);
}

QString Shown(const std::string& Native) {
  return QFile::decodeName(QByteArray::fromStdString(Native));
}

/// Writes the frame into File, opened for Native, and finishes it; raises on any failure.
void Prepare(const QImage& Picture, const std::string& Native, const QString& FileName,
             TAtomicFile& File) {
  if (Picture.isNull()) RaiseSaveError(FileName, QStringLiteral("there is no picture to save"));
  const std::string Folder = FolderOf(Native);
  struct stat Info {};
  if (stat(Folder.c_str(), &Info) != 0) {
    if (errno == ENOENT)
      RaiseSaveError(FileName, QStringLiteral("the folder \"%1\" does not exist")
                                   .arg(QDir::toNativeSeparators(Shown(Folder))));
    RaiseSaveError(FileName, QStringLiteral("the folder \"%1\" cannot be reached (%2)")
                                 .arg(QDir::toNativeSeparators(Shown(Folder)),
                                      QString::fromLocal8Bit(std::strerror(errno))));
  }
  if (!S_ISDIR(Info.st_mode))
    RaiseSaveError(
        FileName,
        QStringLiteral("\"%1\" is not a folder").arg(QDir::toNativeSeparators(Shown(Folder))));
  if (stat(Native.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode))
    RaiseSaveError(FileName, QStringLiteral("a folder of that name is in the way"));

  // The BMP writer keeps indexed pictures indexed; 32-bit pixels always come out at 24 bits.
  const QImage Pixels = Picture.format() == QImage::Format_RGB32
                            ? Picture
                            : Picture.convertToFormat(QImage::Format_RGB32);
  QByteArray Bytes;
  QBuffer Memory(&Bytes);
  Memory.open(QIODevice::WriteOnly);
  QImageWriter Writer(&Memory, "bmp");
  if (!Writer.write(Pixels)) RaiseSaveError(FileName, Writer.errorString());

  // Written beside the target and renamed once complete; never directly in place.
  if (!File.Open(Native) || !File.Write(Bytes.constData(), size_t(Bytes.size())) || !File.Finish())
    RaiseSaveError(FileName, QString::fromLocal8Bit(File.Error().c_str()));
}

void Save(const QImage& Picture, const std::string& Native, const QString& FileName) {
  TAtomicFile File;
  Prepare(Picture, Native, FileName, File);
  if (!File.Publish()) RaiseSaveError(FileName, QString::fromLocal8Bit(File.Error().c_str()));
  File.Settle();
}

}  // namespace

QString FrameFileName(const QString& Base, int32_t FrameNumber) {
  return Base + QStringLiteral("_") + QString::asprintf("%4.4d", FrameNumber) +
         QStringLiteral(".bmp");
}

void SaveFrame(const QImage& Picture, const QString& FileName) {
  Save(Picture, QFile::encodeName(FileName).toStdString(), FileName);
}

void SaveFrameNative(const QImage& Picture, const QByteArray& NativeFileName) {
  Save(Picture, NativeFileName.toStdString(), QFile::decodeName(NativeFileName));
}

void PrepareFrameNative(const QImage& Picture, const QByteArray& NativeFileName,
                        TAtomicFile& File) {
  Prepare(Picture, NativeFileName.toStdString(), QFile::decodeName(NativeFileName), File);
}
