#pragma once
// The image control: owns the circuit picture the model draws on and shows its top-left part,
// unscaled, repainting only what the drawing touched.

#include <QRect>
#include <QWidget>

#include "ui/UPicture.h"

class TImageControl;

/// The picture of the image control: draws like any TQtPicture and remembers the box that the
/// drawing touched since the last repaint.
class TShownPicture : public TQtPicture {
 public:
  explicit TShownPicture(TImageControl& AOwner);

  void Assign(const TPicture& Source) override;
  void SetPenWidth(int32_t Width) override;
  void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void Polygon(const TPoint* Points, int32_t Count) override;
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;

 private:
  /// Records the box (both corners included) grown by the pen.
  void Touch(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);

  TImageControl& Owner;
  int32_t PenWidth = 1;
};

/// ImgRoad: 800 x 600, not stretched.
class TImageControl : public QWidget {
  Q_OBJECT
 public:
  explicit TImageControl(QWidget* Parent = nullptr);

  TShownPicture& Picture() { return FPicture; }
  /// Replaces the picture (any size) and shows it.
  void SetImage(const QImage& Image);
  /// Schedules the repaint of everything drawn since the last one.
  void FlushChanges();

  /// Called by the picture after each drawing.
  void Changed(const QRect& Box);

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  TShownPicture FPicture;
  QRect Dirty;
};
