#include "ui/UOpenPictureDialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "io/UCircuitFile.h"

namespace {
constexpr int PreviewWidth = 200;
constexpr int PreviewHeight = 150;
}  // namespace

TOpenPictureDialog::TOpenPictureDialog(QWidget* Parent) : QFileDialog(Parent) {
  setObjectName(QStringLiteral("OpenPictureDialog"));
  // Qt's own dialog: its layout takes the preview, and it behaves the same everywhere.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);
  setNameFilter(QStringLiteral("Bitmaps (*.bmp)"));

  FPreview = new QLabel(this);
  FPreview->setObjectName(QStringLiteral("Preview"));
  FPreview->setFixedSize(PreviewWidth, PreviewHeight);
  FPreview->setAlignment(Qt::AlignCenter);
  FPreview->setWordWrap(true);
  FPreview->setFrameShape(QFrame::StyledPanel);
  if (auto* Grid = qobject_cast<QGridLayout*>(layout()))
    Grid->addWidget(FPreview, 0, Grid->columnCount(), Grid->rowCount(), 1);
  connect(this, &QFileDialog::currentChanged, this, &TOpenPictureDialog::ShowPreview);
  // A name typed in full shows its picture too, not only one picked in the list.
  if (auto* Name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    connect(Name, &QLineEdit::textChanged, this,
            [this](const QString& Text) { ShowPreview(directory().absoluteFilePath(Text)); });
  ShowPreview(QString());
}

void TOpenPictureDialog::ShowPreview(const QString& Path) {
  FPreview->setPixmap(QPixmap());
  if (!QFileInfo(Path).isFile()) {
    FPreview->setText(QStringLiteral("(no preview)"));
    return;
  }
  // The loader's own checks: what it would refuse is never shown as a picture.
  const TCircuitPicture Read = ReadCircuitPicture(Path);
  if (!Read.Ok()) {
    FPreview->setText(Read.Error);
    return;
  }
  FPreview->setPixmap(QPixmap::fromImage(Read.Picture.scaled(
      PreviewWidth, PreviewHeight, Qt::KeepAspectRatio, Qt::FastTransformation)));
}

void TOpenPictureDialog::done(int Result) {
  for (auto* Name : findChildren<QLineEdit*>())
    if (QCompleter* Names = Name->completer(); Names && Names->popup()) Names->popup()->hide();
  QFileDialog::done(Result);
}
