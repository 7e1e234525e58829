// The image control's view: zoom (fit, 1x to 4x) and scrolling over a picture larger than the
// control, which grows with the window. Only what is shown changes; the picture, and the frames
// saved from it, keep their size.

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/UImageControl.h"

namespace {

constexpr int BarThickness = 12;
constexpr int MaxZoom = 4;

}  // namespace

double TImageControl::Scale() const {
  if (FZoom > 0) return FZoom;
  const QSize Size = FPicture.Image().size();
  if (Size.isEmpty()) return 1;
  return std::min(double(width()) / Size.width(), double(height()) / Size.height());
}

void TImageControl::SetZoom(int AZoom) {
  const QPointF Middle = ToPicture(QPointF(width() / 2.0, height() / 2.0));
  FZoom = std::clamp(AZoom, 0, MaxZoom);
  // The point in the middle stays there, as far as the picture allows.
  CenterOn(Middle);
}

void TImageControl::CenterOn(QPointF Point) {
  const double S = Scale();
  ScrollTo(Point - QPointF(width() / 2.0 / S, height() / 2.0 / S));
}

void TImageControl::ScrollTo(QPointF TopLeft) {
  const double S = Scale();
  const QSize Size = FPicture.Image().size();
  // The scroll bars cover a strip of the control; the picture may scroll that far further.
  const double MaxX = std::max(0.0, Size.width() - (width() - BarThickness) / S);
  const double MaxY = std::max(0.0, Size.height() - (height() - BarThickness) / S);
  const bool Fits = Size.width() * S <= width() && Size.height() * S <= height();
  const QPointF Clamped =
      Fits ? QPointF()
           : QPointF(std::clamp(TopLeft.x(), 0.0, MaxX), std::clamp(TopLeft.y(), 0.0, MaxY));
  FOrigin = QPointF(qRound(Clamped.x() * S) / S, qRound(Clamped.y() * S) / S);
  UpdateView();
}

QPointF TImageControl::ToPicture(QPointF ViewPoint) const { return ViewPoint / Scale() + FOrigin; }

QRect TImageControl::ToView(const QRect& Box) const {
  const double S = Scale();
  if (S == 1 && FOrigin.isNull()) return Box;
  return QRectF((Box.x() - FOrigin.x()) * S, (Box.y() - FOrigin.y()) * S, Box.width() * S,
                Box.height() * S)
      .toAlignedRect()
      .adjusted(-1, -1, 1, 1);
}

void TImageControl::PlaceBars() {
  HBar->setGeometry(0, height() - BarThickness, width() - BarThickness, BarThickness);
  VBar->setGeometry(width() - BarThickness, 0, BarThickness, height() - BarThickness);
  Corner->setGeometry(width() - BarThickness, height() - BarThickness, BarThickness, BarThickness);
}

void TImageControl::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  // The bars follow the edges, and "fit" its new size; the point at the top-left stays.
  if (HBar) PlaceBars();
  ScrollTo(FOrigin);
}

void TImageControl::UpdateView() {
  if (!HBar) {
    HBar = new QScrollBar(Qt::Horizontal, this);
    VBar = new QScrollBar(Qt::Vertical, this);
    HBar->setObjectName(QStringLiteral("ImgRoadHBar"));
    VBar->setObjectName(QStringLiteral("ImgRoadVBar"));
    // The bars scroll the picture; the keys stay with it.
    HBar->setFocusPolicy(Qt::NoFocus);
    VBar->setFocusPolicy(Qt::NoFocus);
    Corner = new QWidget(this);
    Corner->setAutoFillBackground(true);
    PlaceBars();
    connect(HBar, &QScrollBar::valueChanged, this,
            [this](int V) { ScrollTo(QPointF(V / Scale(), FOrigin.y())); });
    connect(VBar, &QScrollBar::valueChanged, this,
            [this](int V) { ScrollTo(QPointF(FOrigin.x(), V / Scale())); });
  }
  const double S = Scale();
  const QSize Size = FPicture.Image().size();
  const int ScaledW = qRound(Size.width() * S), ScaledH = qRound(Size.height() * S);
  const bool Scrolls = ScaledW > width() || ScaledH > height();
  const QSignalBlocker BlockH(HBar), BlockV(VBar);
  HBar->setRange(0, std::max(0, ScaledW - width() + BarThickness));
  VBar->setRange(0, std::max(0, ScaledH - height() + BarThickness));
  HBar->setPageStep(width());
  VBar->setPageStep(height());
  HBar->setValue(qRound(FOrigin.x() * S));
  VBar->setValue(qRound(FOrigin.y() * S));
  HBar->setVisible(Scrolls && ScaledW > width());
  VBar->setVisible(Scrolls && ScaledH > height());
  Corner->setVisible(HBar->isVisibleTo(this) && VBar->isVisibleTo(this));
  update();
}

void TImageControl::PaintScaled(QPainter& P, const QRect& Area) {
  const QImage& Image = FPicture.Image();
  P.fillRect(Area, palette().window());
  // Only the part of the picture in the area is scaled, pixel by pixel (no smoothing).
  const double S = Scale();
  const QRectF Wanted(ToPicture(Area.topLeft()), QSizeF(Area.width() / S, Area.height() / S));
  const QRect Source = Wanted.toAlignedRect().adjusted(-1, -1, 1, 1) & Image.rect();
  if (Source.isEmpty()) return;
  const QRectF Target((Source.x() - FOrigin.x()) * S, (Source.y() - FOrigin.y()) * S,
                      Source.width() * S, Source.height() * S);
  P.drawImage(Target, Image, Source);
}

void TImageControl::wheelEvent(QWheelEvent* Event) {
  // The wheel scrolls down, with Shift across; the bars do the clamping.
  const int Step = -Event->angleDelta().y() / 2;
  QScrollBar* Bar = Event->modifiers() & Qt::ShiftModifier ? HBar : VBar;
  if (Bar && Bar->isVisible()) Bar->setValue(Bar->value() + Step);
  Event->accept();
}
