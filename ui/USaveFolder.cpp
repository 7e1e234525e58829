#include "ui/USaveFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryFile>

QString SaveFolderProblem(const QString& BaseName) {
  const QFileInfo Folder(QFileInfo(BaseName).absolutePath());
  const QString Shown = QDir::toNativeSeparators(Folder.absoluteFilePath());
  if (!Folder.exists()) return QStringLiteral("the folder \"%1\" does not exist").arg(Shown);
  if (!Folder.isDir()) return QStringLiteral("\"%1\" is not a folder").arg(Shown);
  // Permissions alone do not tell (an administrator ignores them, a full disk has none): try it.
  QTemporaryFile Probe(QDir(Folder.absoluteFilePath()).filePath(QStringLiteral(".kartsim-XXXXXX")));
  if (!Probe.open())
    return QStringLiteral("the folder \"%1\" cannot be written (%2)")
        .arg(Shown, Probe.errorString());
  return {};
}

bool AcceptSaveFolder(QWidget* Parent, const QString& BaseName) {
  const QString Problem = SaveFolderProblem(BaseName);
  if (Problem.isEmpty()) return true;
  QMessageBox::warning(
      Parent, QStringLiteral("Saving images"),
      QStringLiteral("Frames cannot be saved there: %1. Saving stays off.").arg(Problem));
  return false;
}
