#pragma once
// A clickable panel that shows a colour.

#include <QLabel>

#include "world/UPlatform.h"

/// The "Color" panel: shows the current kart's colour; a click asks for another.
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

 private:
  TColor FColor = clBlack;
};
