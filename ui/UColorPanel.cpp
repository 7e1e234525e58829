#include "ui/UColorPanel.h"

#include <QMouseEvent>
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
