#include "ui/UImageControl.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "ui/UColorPanel.h"

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
  setMinimumSize(320, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The arrow keys move the chosen kart while the picture has the focus.
  setFocusPolicy(Qt::StrongFocus);
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
  if (Scale() != 1 || !FOrigin.isNull()) {
    PaintScaled(P, Event->rect());
  } else {
    const QImage& Image = FPicture.Image();
    const QRect Area = Event->rect();
    const QRect Shown = Area & QRect(QPoint(0, 0), Image.size());
    // A picture smaller than the control leaves the rest in the window's colour.
    if (Shown != Area) P.fillRect(Area, palette().window());
    if (!Shown.isEmpty()) P.drawImage(Shown.topLeft(), Image, Shown);
  }
  PaintMarks(P);
}

void TImageControl::focusInEvent(QFocusEvent* Event) {
  QWidget::focusInEvent(Event);
  update();
}

void TImageControl::focusOutEvent(QFocusEvent* Event) {
  QWidget::focusOutEvent(Event);
  update();
}

void TImageControl::SetMarks(TViewMarks Marks) {
  // Only where the old and the new marks lie is painted again.
  const QRect Old = MarksBox(FMarks);
  FMarks = std::move(Marks);
  update(Old | MarksBox(FMarks));
}

QPointF TImageControl::ToViewPoint(QPointF PicturePoint) const {
  return (PicturePoint - FOrigin) * Scale();
}

QRect TImageControl::MarksBox(const TViewMarks& Marks) const {
  QRectF Box;
  if (Marks.HasLine)
    Box = QRectF(ToViewPoint(Marks.Line.p1()), ToViewPoint(Marks.Line.p2())).normalized();
  for (const TViewMarks::TKartMark& K : Marks.Karts) {
    const double R = (K.Radius + 8) * Scale() + 4;
    Box |= QRectF(ToViewPoint(K.At) - QPointF(R, R), QSizeF(2 * R, 2 * R));
  }
  return Box.toAlignedRect().adjusted(-4, -4, 4, 4);
}

void TImageControl::PaintMarks(QPainter& P) const {
  P.save();
  P.setRenderHint(QPainter::Antialiasing);
  const double S = Scale();
  if (FMarks.HasLine) {
    // Black and white squares, as a start line is painted on a road.
    const QLineF L(ToViewPoint(FMarks.Line.p1()), ToViewPoint(FMarks.Line.p2()));
    const double Width = std::max(3.0, 3 * S);
    P.setPen(QPen(Qt::black, Width, Qt::SolidLine, Qt::FlatCap));
    P.drawLine(L);
    QPen White(Qt::white, Width, Qt::CustomDashLine, Qt::FlatCap);
    White.setDashPattern({1, 1});
    P.setPen(White);
    P.drawLine(L);
  }
  for (const TViewMarks::TKartMark& K : FMarks.Karts) {
    const QPointF At = ToViewPoint(K.At);
    const double R = K.Radius * S;
    if (K.Chosen) {
      // A ring round the chosen kart, dark and light so that it shows on any road.
      const double Ring = R + std::max(5.0, 4 * S);
      P.setBrush(Qt::NoBrush);
      P.setPen(QPen(Qt::black, 3));
      P.drawEllipse(At, Ring, Ring);
      P.setPen(QPen(Qt::white, 1.5));
      P.drawEllipse(At, Ring, Ring);
    }
    if (R >= NumberRadius) {
      QFont Font = P.font();
      Font.setBold(true);
      Font.setPixelSize(static_cast<int>(std::min(R, 40.0)));
      P.setFont(Font);
      P.setPen(BlackTextOn(K.Color) ? Qt::black : Qt::white);
      P.drawText(QRectF(At - QPointF(R, R), QSizeF(2 * R, 2 * R)), Qt::AlignCenter,
                 QString::number(K.Number));
    }
  }
  P.restore();
  if (hasFocus()) {
    // The picture has the keys: the arrows move the chosen kart.
    P.setPen(QPen(palette().color(QPalette::Highlight), 2));
    P.setBrush(Qt::NoBrush);
    P.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
}
