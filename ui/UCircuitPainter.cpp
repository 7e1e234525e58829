#include "ui/UCircuitPainter.h"

#include <QPainter>

#include "ui/UImageControl.h"
#include "io/UPicture.h"
#include "world/UTrack2D.h"

QImage& TCircuitPainter::Clean() const {
  return dynamic_cast<TQtPicture&>(*Track.Background).Image();
}

void TCircuitPainter::BeginStroke(QPoint At) {
  if (Brush == TBrush::None || !Track.Background) return;
  InStroke = true;
  Before = Clean();
  Box = QRect();
  Last = At;
  Segment(At, At);
}

void TCircuitPainter::StrokeTo(QPoint At) {
  if (!InStroke) return;
  Segment(Last, At);
  Last = At;
}

void TCircuitPainter::EndStroke() {
  if (!InStroke) return;
  InStroke = false;
  // A circuit loaded since the undo entries were made makes them meaningless.
  if (!History.empty() && History.back().Circuit != Track.Background.get()) History.clear();
  const QRect Kept = Box & Before.rect();
  if (!Kept.isEmpty()) History.push_back({Kept, Before.copy(Kept), Track.Background.get()});
  if (History.size() > MaxUndo) History.erase(History.begin());
  Before = QImage();
}

bool TCircuitPainter::Undo() {
  if (InStroke) EndStroke();
  if (!History.empty() && History.back().Circuit != Track.Background.get()) History.clear();
  if (History.empty()) return false;
  const TUndo Last_ = std::move(History.back());
  History.pop_back();
  Restore(Last_.Box, Last_.Before);
  return true;
}

void TCircuitPainter::Segment(QPoint From, QPoint To) {
  const QColor Color = Brush == TBrush::Road ? QColor::fromRgb(RoadColor) : QColor(Qt::black);
  const QRect Piece = QRect(From, To).normalized().adjusted(-Size / 2 - 2, -Size / 2 - 2,
                                                            Size / 2 + 2, Size / 2 + 2);
  for (QImage* Target : {&Clean(), &Image.Picture().Image()}) {
    QPainter P(Target);
    // Exact colours: no smoothing, so the off-road map sees only the brush's colour.
    P.setRenderHint(QPainter::Antialiasing, false);
    P.setPen(QPen(Color, Size, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.drawLine(From, To);
  }
  Box |= Piece;
  Track.UpdateOffTrack(Piece.left(), Piece.top(), Piece.right(), Piece.bottom());
  Image.Changed(Piece);
}

void TCircuitPainter::Restore(const QRect& At, const QImage& Patch) {
  for (QImage* Target : {&Clean(), &Image.Picture().Image()}) {
    QPainter P(Target);
    P.setCompositionMode(QPainter::CompositionMode_Source);
    P.drawImage(At.topLeft(), Patch);
  }
  Track.UpdateOffTrack(At.left(), At.top(), At.right(), At.bottom());
  Image.Changed(At);
}
