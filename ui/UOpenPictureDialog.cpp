#include "ui/UOpenPictureDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>

#include "ui/UCircuitFile.h"

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
  QImage Picture;
  if (QFileInfo(Path).isFile()) {
    QImageReader Reader(Path);
    const QSize Size = Reader.size();
    // Read scaled down, and only what a circuit may be: a huge file never fills memory here.
    if (Size.isValid() && Size.width() <= MaxCircuitSide && Size.height() <= MaxCircuitSide &&
        int64_t{Size.width()} * Size.height() <= MaxCircuitPixels) {
      Reader.setScaledSize(Size.scaled(PreviewWidth, PreviewHeight, Qt::KeepAspectRatio));
      Picture = Reader.read();
    }
  }
  if (Picture.isNull()) {
    FPreview->setPixmap(QPixmap());
    FPreview->setText(QStringLiteral("(no preview)"));
  } else {
    FPreview->setPixmap(QPixmap::fromImage(Picture));
  }
}
