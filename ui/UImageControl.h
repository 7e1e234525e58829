#pragma once
// The image control: owns the circuit picture the model draws on and shows its top-left part,
// unscaled, repainting only what the drawing touched.

#include <QPointF>
#include <QRect>
#include <QWidget>

#include "io/UPicture.h"

class QPainter;
class QScrollBar;
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

  // The view: 1x at the top-left unless asked otherwise; frames are saved from the picture.
  /// 0 fits the whole picture into the control, 1 to 4 magnify.
  void SetZoom(int AZoom);
  int Zoom() const { return FZoom; }
  /// View pixels per picture pixel.
  double Scale() const;
  /// Shows the picture from this point (picture pixels) at the top-left corner, kept in range.
  void ScrollTo(QPointF TopLeft);
  /// Puts this picture point in the middle of the view, as far as the picture allows.
  void CenterOn(QPointF Point);
  /// The picture point shown at the top-left corner.
  QPointF Origin() const { return FOrigin; }
  /// The picture point under a point of the control.
  QPointF ToPicture(QPointF ViewPoint) const;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;

 private:
  /// A box of the picture as the box of the control that shows it.
  QRect ToView(const QRect& Box) const;
  /// Scroll bars where the picture, as scaled, is larger than the control.
  void UpdateView();
  /// Paints the area of the control through the view's scale and origin.
  void PaintScaled(QPainter& P, const QRect& Area);

  TShownPicture FPicture;
  QRect Dirty;  ///< in picture pixels
  int FZoom = 1;
  QPointF FOrigin;
  QScrollBar* HBar = nullptr;
  QScrollBar* VBar = nullptr;
  QWidget* Corner = nullptr;  ///< covers the picture between the two bars
};
