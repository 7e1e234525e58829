#include "report/UErrorLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <utility>

#include "report/UErrorReport.h"

namespace {

/// Offsets of the lines that start a report.
QList<qsizetype> ReportStarts(const QByteArray& Log) {
  QList<qsizetype> Starts;
  const QByteArray Marker(ReportMarker);
  if (Log.startsWith(Marker)) Starts << 0;
  const QByteArray LineMarker = '\n' + Marker;
  for (qsizetype At = Log.indexOf(LineMarker); At >= 0; At = Log.indexOf(LineMarker, At + 1))
    Starts << At + 1;
  return Starts;
}

}  // namespace

QString WriteWholeFile(const QString& Path, const QByteArray& Content) {
  QSaveFile File(Path);
  File.setDirectWriteFallback(false);
  if (!File.open(QIODevice::WriteOnly)) return File.errorString();
  if (File.write(Content) != Content.size()) {
    const QString Reason = File.errorString();
    File.cancelWriting();
    return Reason;
  }
  if (!File.commit()) return File.errorString();
  return {};
}

TErrorLog::TErrorLog(QString AProgramFolder, QString ADataFolder)
    : ProgramFolder(std::move(AProgramFolder)), DataFolder(std::move(ADataFolder)) {}

TErrorLog TErrorLog::ForThisProgram() {
  return TErrorLog(QCoreApplication::applicationDirPath(),
                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString TErrorLog::ChoosePath() const {
  for (const QString& Folder : {ProgramFolder, DataFolder}) {
    if (Folder.isEmpty()) continue;
    if (Folder == DataFolder) QDir().mkpath(Folder);
    const QFileInfo Dir(Folder);
    const QFileInfo Log(QDir(Folder).filePath(QString::fromLatin1(FileName)));
    if (Dir.isDir() && Dir.isWritable() && (!Log.exists() || Log.isWritable()))
      return Log.absoluteFilePath();
  }
  return {};
}

TErrorLog::TResult TErrorLog::Append(const QString& Report) const {
  QStringList Problems;
  for (const QString& Folder : {ProgramFolder, DataFolder}) {
    if (Folder.isEmpty()) continue;
    if (Folder == DataFolder && !QDir().mkpath(Folder)) {
      Problems << QStringLiteral("%1: the folder cannot be created").arg(Folder);
      continue;
    }
    const QString Path = QDir(Folder).filePath(QString::fromLatin1(FileName));
    QByteArray Old;
    QFile Existing(Path);
    if (Existing.exists() && !Existing.open(QIODevice::ReadOnly)) {
      Problems << QStringLiteral("%1: %2").arg(Path, Existing.errorString());
      continue;
    }
    if (Existing.isOpen()) Old = Existing.readAll();
    const QString Reason = WriteWholeFile(Path, AppendWithinLimit(Old, Report.toUtf8(), MaxBytes));
    if (Reason.isEmpty()) return {Path, {}};
    Problems << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(Path), Reason);
  }
  if (Problems.isEmpty()) Problems << QStringLiteral("no folder was given for it");
  return {{}, Problems.join(QStringLiteral("; "))};
}

QByteArray AppendWithinLimit(const QByteArray& Log, const QByteArray& Report, qint64 MaxBytes) {
  QByteArray All = Log;
  if (!All.isEmpty() && !All.endsWith('\n')) All += '\n';
  const qsizetype NewStart = All.size();
  All += Report;
  if (!All.endsWith('\n')) All += '\n';
  if (All.size() <= MaxBytes) return All;
  // Drop from the front, a whole report at a time (and anything before the first report).
  for (const qsizetype Start : ReportStarts(All)) {
    if (Start > NewStart) break;
    if (All.size() - Start <= MaxBytes) return All.mid(Start);
  }
  return All.mid(NewStart, MaxBytes);
}
