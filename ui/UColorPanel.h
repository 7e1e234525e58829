#pragma once
// A clickable panel that shows a colour.

#include <QLabel>

#include "world/UPlatform.h"

/// Whether black text reads better than white on Color: by relative luminance (sRGB made
/// linear, weighed 0.2126, 0.7152, 0.0722), black where its contrast is the higher one.
bool BlackTextOn(TColor Color);

/// The "Color" panel: shows the current kart's colour; a click, or Space or Return while it has
/// the focus, asks for another.
class TColorPanel : public QLabel {
  Q_OBJECT
 public:
  explicit TColorPanel(const QString& Caption, QWidget* Parent = nullptr);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  /// Space or Return asks for another colour, as a click does.
  void keyPressEvent(QKeyEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;

 private:
  TColor FColor = clBlack;
};
