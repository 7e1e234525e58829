#pragma once
// The text file that keeps the latest error and crash reports, limited in size.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

/// Writes Content as the whole file, through a temporary file renamed once complete; returns
/// the reason it failed, empty once written.
QString WriteWholeFile(const QString& Path, const QByteArray& Content);

/// The error log: kartsim-errors.log in the program's folder, or in the user's data folder where
/// the program's folder cannot be written (an installed program). Both folders are given, so that
/// tests choose their own.
class TErrorLog {
 public:
  static constexpr qint64 MaxBytes = 1024 * 1024;  ///< the oldest whole reports go beyond this
  static constexpr char FileName[] = "kartsim-errors.log";
  /// Holds the last crash report until it has been offered once.
  static constexpr char CrashMarkerName[] = "kartsim-crash-unseen.txt";

  TErrorLog() = default;
  TErrorLog(QString AProgramFolder, QString ADataFolder);
  /// The running program's folder and its application data folder.
  static TErrorLog ForThisProgram();

  QString ProgramFolder;
  QString DataFolder;

  /// The log's path in the first folder that looks writable (the data folder is created when
  /// needed); empty when neither is.
  QString ChoosePath() const;

  /// Where a report went (Path) or why it went nowhere (Problem, empty once written).
  struct TResult {
    QString Path;
    QString Problem;
  };
  /// Appends one report, keeping the file within MaxBytes. The file is replaced whole, never left
  /// half written; a folder that refuses the write hands over to the data folder. Never throws.
  TResult Append(const QString& Report) const;
};

/// Log followed by Report, with the oldest whole reports dropped until it fits in MaxBytes. A
/// newest report larger than MaxBytes on its own is kept in part, from its start.
QByteArray AppendWithinLimit(const QByteArray& Log, const QByteArray& Report, qint64 MaxBytes);
