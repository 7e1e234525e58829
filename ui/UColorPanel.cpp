#include "ui/UColorPanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "io/UPicture.h"

bool BlackTextOn(TColor Color) {
  const auto Linear = [](uint32_t Channel) {
    const double C = Channel / 255.0;
    return C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
  };
  const double L = 0.2126 * Linear(Color & 0xFF) + 0.7152 * Linear((Color >> 8) & 0xFF) +
                   0.0722 * Linear((Color >> 16) & 0xFF);
  // Contrast ratios against black and white; the larger wins.
  return (L + 0.05) / 0.05 >= 1.05 / (L + 0.05);
}

TColorPanel::TColorPanel(const QString& Caption, QWidget* Parent) : QLabel(Caption, Parent) {
  setAlignment(Qt::AlignCenter);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  SetColor(clBlack);
}

void TColorPanel::SetColor(TColor Value) {
  FColor = Value;
  const QColor Back = TQtPicture::ToQColor(Value);
  QPalette P = palette();
  P.setColor(QPalette::Window, Back);
  // The caption stays legible on light and dark colours alike.
  P.setColor(QPalette::WindowText, BlackTextOn(Value) ? Qt::black : Qt::white);
  setPalette(P);
}

// Taking the press makes the release come here too.
void TColorPanel::mousePressEvent(QMouseEvent* Event) { Event->accept(); }

void TColorPanel::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()))
    emit clicked();
  QLabel::mouseReleaseEvent(Event);
}

void TColorPanel::keyPressEvent(QKeyEvent* Event) {
  switch (Event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit clicked();
      return;
    default:
      QLabel::keyPressEvent(Event);
  }
}

void TColorPanel::paintEvent(QPaintEvent* Event) {
  QLabel::paintEvent(Event);
  if (!hasFocus()) return;
  // The focus shows as a dotted frame in the caption's colour, inside the panel's own.
  QPainter P(this);
  QPen Pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
  P.setPen(Pen);
  P.drawRect(rect().adjusted(3, 3, -4, -4));
}
