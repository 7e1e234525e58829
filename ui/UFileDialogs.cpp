#include "ui/UFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString FolderKey = QStringLiteral("dialogs/lastFolder");
}  // namespace

std::unique_ptr<QSettings> WindowSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("kartsim"), QStringLiteral("window"));
}

QString LastFolder() {
  const QString Kept = WindowSettings()->value(FolderKey).toString();
  if (!Kept.isEmpty() && QFileInfo(Kept).isDir()) return Kept;
  const QString Documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(Documents).isDir() ? Documents : QDir::homePath();
}

void RememberFolder(const QString& Path) {
  if (!Path.isEmpty()) WindowSettings()->setValue(FolderKey, QFileInfo(Path).absolutePath());
}

QString RunFileDialog(QFileDialog& Dialog) {
  Dialog.setDirectory(LastFolder());
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return {};
  const QString Chosen = Dialog.selectedFiles().first();
  RememberFolder(Chosen);
  return Chosen;
}

namespace {

QString Ask(QWidget* Parent, const QString& Title, const QString& Filter, bool Save,
            const QString& Suffix) {
  QFileDialog Dialog(Parent, Title);
  Dialog.setOption(QFileDialog::DontUseNativeDialog);
  Dialog.setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  Dialog.setFileMode(Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  Dialog.setNameFilter(Filter);
  // "race1" becomes race1.json, which the open dialog's filter then shows.
  if (Save) Dialog.setDefaultSuffix(Suffix);
  return RunFileDialog(Dialog);
}

}  // namespace

QString AskOpenFile(QWidget* Parent, const QString& Title, const QString& Filter) {
  return Ask(Parent, Title, Filter, false, {});
}

QString AskSaveFile(QWidget* Parent, const QString& Title, const QString& Filter,
                    const QString& Suffix) {
  return Ask(Parent, Title, Filter, true, Suffix);
}

void WarnAboutFile(QWidget* Parent, const QString& Title, const QString& Message) {
  QMessageBox Box(QMessageBox::Warning, Title, Message, QMessageBox::Ok, Parent);
  Box.setObjectName(QStringLiteral("FileWarning"));
  Box.exec();
}
