#pragma once
// The file-open dialog for circuit pictures, with a preview of the picture under the cursor.

#include <QFileDialog>

class QLabel;

/// Offers only .bmp files and shows the selected one, scaled down, beside the list.
class TOpenPictureDialog : public QFileDialog {
 public:
  explicit TOpenPictureDialog(QWidget* Parent = nullptr);

  /// Shows the picture at Path in the preview, or says that there is none to show.
  void ShowPreview(const QString& Path);
  QLabel* Preview() const { return FPreview; }

 private:
  QLabel* FPreview = nullptr;
};
