#pragma once
// A picture the user can draw on with the mouse, to point at what went wrong.

#include <QImage>
#include <QPoint>
#include <QWidget>

/// Shows a picture scaled to fit and keeps the user's strokes on a layer of their own, in the
/// picture's pixels, so that clearing them gives the picture back untouched.
class TMarkupView : public QWidget {
  Q_OBJECT
 public:
  explicit TMarkupView(QWidget* Parent = nullptr);

  void SetPicture(const QImage& Picture);
  /// The picture with the marks drawn over it, in the picture's own size.
  QImage MarkedPicture() const;
  bool HasMarks() const { return Marked; }
  void ClearMarks();

  QSize sizeHint() const override;

  static constexpr int PenWidth = 4;  ///< pixels of the picture

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  /// Where the scaled picture lies in the widget.
  QRectF Shown() const;
  QPointF ToPicture(const QPointF& WidgetPoint) const;
  void DrawStroke(const QPointF& To);

  QImage Picture;
  QImage Marks;  ///< transparent where nothing was drawn
  QPointF Last;
  bool Drawing = false;
  bool Marked = false;
};
