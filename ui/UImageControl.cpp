#include "ui/UImageControl.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

TShownPicture::TShownPicture(TImageControl& AOwner) : TQtPicture(QImage()), Owner(AOwner) {}

void TShownPicture::Assign(const TPicture& Source) {
  TQtPicture::Assign(Source);
  Touch(0, 0, Width(), Height());
}

void TShownPicture::SetPenWidth(int32_t Width) {
  TQtPicture::SetPenWidth(Width);
  PenWidth = Width;
}

void TShownPicture::Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  TQtPicture::Line(X1, Y1, X2, Y2);
  Touch(X1, Y1, X2, Y2);
}

void TShownPicture::Polygon(const TPoint* Points, int32_t Count) {
  TQtPicture::Polygon(Points, Count);
  if (Count <= 0) return;
  int32_t L = Points[0].x, R = L, T = Points[0].y, B = T;
  for (int32_t I = 1; I < Count; ++I) {
    L = std::min(L, Points[I].x);
    R = std::max(R, Points[I].x);
    T = std::min(T, Points[I].y);
    B = std::max(B, Points[I].y);
  }
  Touch(L, T, R, B);
}

void TShownPicture::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  TQtPicture::Ellipse(X1, Y1, X2, Y2);
  Touch(X1, Y1, X2, Y2);
}

void TShownPicture::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  TQtPicture::Rectangle(X1, Y1, X2, Y2);
  Touch(X1, Y1, X2, Y2);
}

void TShownPicture::Touch(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  const int32_t Grow = PenWidth / 2 + 1;
  Owner.Changed(QRect(QPoint(std::min(X1, X2) - Grow, std::min(Y1, Y2) - Grow),
                      QPoint(std::max(X1, X2) + Grow, std::max(Y1, Y2) + Grow)));
}

TImageControl::TImageControl(QWidget* Parent) : QWidget(Parent), FPicture(*this) {
  setObjectName(QStringLiteral("ImgRoad"));
  setFixedSize(800, 600);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageControl::SetImage(const QImage& Image) {
  FPicture.Image() = Image.convertToFormat(QImage::Format_RGB32);
  Changed(rect());
  ScrollTo(FOrigin);
}

void TImageControl::Changed(const QRect& Box) {
  // The first change after a repaint asks for one more; later ones only widen the box, so a
  // move that draws thousands of lines costs one repaint.
  if (Dirty.isEmpty())
    QMetaObject::invokeMethod(this, &TImageControl::FlushChanges, Qt::QueuedConnection);
  Dirty |= Box;
}

void TImageControl::FlushChanges() {
  if (Dirty.isEmpty()) return;
  update(ToView(Dirty) & rect());
  Dirty = QRect();
}

void TImageControl::paintEvent(QPaintEvent* Event) {
  QPainter P(this);
  if (Scale() != 1 || !FOrigin.isNull()) return PaintScaled(P, Event->rect());
  const QImage& Image = FPicture.Image();
  const QRect Area = Event->rect();
  const QRect Shown = Area & QRect(QPoint(0, 0), Image.size());
  // A picture smaller than the control leaves the rest in the window's colour.
  if (Shown != Area) P.fillRect(Area, palette().window());
  if (!Shown.isEmpty()) P.drawImage(Shown.topLeft(), Image, Shown);
}
