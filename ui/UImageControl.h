#pragma once
// The image control: owns the circuit picture the model draws on and shows its top-left part,
// unscaled, repainting only what the drawing touched.

#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QWidget>
#include <vector>

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

/// What the view shows over the picture without drawing into it (frames never carry it): the
/// start line, and every kart's place with its number and whether it is the chosen one.
struct TViewMarks {
  struct TKartMark {
    QPointF At;         ///< picture pixels
    double Radius = 0;  ///< of its outline, picture pixels
    int Number = 0;     ///< its line in the kart list, from 1
    TColor Color = 0;
    bool Chosen = false;
  };
  bool HasLine = false;
  QLineF Line;  ///< the start line across the road, picture pixels
  std::vector<TKartMark> Karts;
};

/// ImgRoad: the picture, unstretched at 1x, in an area that grows with the window. Takes the
/// keyboard focus on a click, and shows it has it by a frame.
class TImageControl : public QWidget {
  Q_OBJECT
 public:
  explicit TImageControl(QWidget* Parent = nullptr);

  /// 800 x 600: the picture's own size at the start.
  QSize sizeHint() const override { return {800, 600}; }
  /// Replaces the marks over the picture.
  void SetMarks(TViewMarks Marks);
  const TViewMarks& Marks() const { return FMarks; }
  /// Karts show their numbers from this radius on the screen, pixels.
  static constexpr double NumberRadius = 10;

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
  void resizeEvent(QResizeEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;

 private:
  /// A box of the picture as the box of the control that shows it.
  QRect ToView(const QRect& Box) const;
  /// Scroll bars where the picture, as scaled, is larger than the control.
  void UpdateView();
  /// Paints the area of the control through the view's scale and origin.
  void PaintScaled(QPainter& P, const QRect& Area);
  /// The marks and, with the focus, the frame, over what was painted.
  void PaintMarks(QPainter& P) const;
  /// A picture point on the control.
  QPointF ToViewPoint(QPointF PicturePoint) const;
  /// The box of the control the marks cover.
  QRect MarksBox(const TViewMarks& Marks) const;
  /// Places the scroll bars along the control's edges.
  void PlaceBars();

  TShownPicture FPicture;
  QRect Dirty;  ///< in picture pixels
  int FZoom = 1;
  QPointF FOrigin;
  QScrollBar* HBar = nullptr;
  QScrollBar* VBar = nullptr;
  QWidget* Corner = nullptr;  ///< covers the picture between the two bars
  TViewMarks FMarks;
};
