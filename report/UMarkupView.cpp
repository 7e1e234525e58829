#include "report/UMarkupView.h"

#include <QMouseEvent>
#include <QPainter>

TMarkupView::TMarkupView(QWidget* Parent) : QWidget(Parent) {
  setObjectName(QStringLiteral("MarkupView"));
  setCursor(Qt::CrossCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(200, 150);
}

void TMarkupView::SetPicture(const QImage& APicture) {
  Picture = APicture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Marks = QImage(Picture.size(), QImage::Format_ARGB32_Premultiplied);
  ClearMarks();
  updateGeometry();
}

QImage TMarkupView::MarkedPicture() const {
  QImage Result = Picture;
  if (Result.isNull()) return Result;
  QPainter Painter(&Result);
  Painter.drawImage(0, 0, Marks);
  return Result;
}

void TMarkupView::ClearMarks() {
  Marks.fill(Qt::transparent);
  Marked = false;
  update();
}

QSize TMarkupView::sizeHint() const {
  if (Picture.isNull()) return {400, 300};
  return Picture.size().scaled(640, 480, Qt::KeepAspectRatio);
}

QRectF TMarkupView::Shown() const {
  if (Picture.isNull()) return {};
  const QSizeF Size = QSizeF(Picture.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
  return {QPointF((width() - Size.width()) / 2, (height() - Size.height()) / 2), Size};
}

QPointF TMarkupView::ToPicture(const QPointF& WidgetPoint) const {
  const QRectF Box = Shown();
  if (Box.isEmpty()) return {};
  return (WidgetPoint - Box.topLeft()) * (Picture.width() / Box.width());
}

void TMarkupView::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  Painter.fillRect(rect(), palette().window());
  if (Picture.isNull()) return;
  Painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRectF Box = Shown();
  Painter.drawImage(Box, Picture);
  Painter.drawImage(Box, Marks);
}

void TMarkupView::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || Picture.isNull()) return;
  Drawing = true;
  Last = ToPicture(Event->position());
  DrawStroke(Last);  // a click leaves a dot
}

void TMarkupView::mouseMoveEvent(QMouseEvent* Event) {
  if (Drawing) DrawStroke(ToPicture(Event->position()));
}

void TMarkupView::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton) Drawing = false;
}

void TMarkupView::DrawStroke(const QPointF& To) {
  QPainter Painter(&Marks);
  Painter.setRenderHint(QPainter::Antialiasing);
  Painter.setPen(QPen(QColor(255, 0, 0, 220), PenWidth, Qt::SolidLine, Qt::RoundCap));
  Painter.drawLine(Last, To);
  Last = To;
  Marked = true;
  update();
}
