#include "ui/UColorPanel.h"

#include <QMouseEvent>

#include "ui/UPicture.h"

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
  P.setColor(QPalette::WindowText, Back.lightness() > 128 ? Qt::black : Qt::white);
  setPalette(P);
}

// Taking the press makes the release come here too.
void TColorPanel::mousePressEvent(QMouseEvent* Event) { Event->accept(); }

void TColorPanel::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()))
    emit clicked();
  QLabel::mouseReleaseEvent(Event);
}
