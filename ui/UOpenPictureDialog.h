#pragma once
// The file-open dialog for circuit pictures, with a preview of the picture under the cursor.

#include <QFileDialog>

class QLabel;

/// Offers only .bmp files and shows the selected one, scaled down, beside the list.
class TOpenPictureDialog : public QFileDialog {
 public:
  explicit TOpenPictureDialog(QWidget* Parent = nullptr);

  /// Shows the picture at Path in the preview as the circuit loader would take it, or the
  /// loader's reason for refusing it, or that there is none to show.
  void ShowPreview(const QString& Path);
  QLabel* Preview() const { return FPreview; }

  /// Closes the name's suggestion list with the dialog, so that it never stays over the window.
  void done(int Result) override;

 private:
  QLabel* FPreview = nullptr;
};
