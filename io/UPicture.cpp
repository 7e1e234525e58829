#include "io/UPicture.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <vector>

namespace {

// Every shape is drawn with its own painter: the image stays free to be shown, saved or
// replaced between drawings, and nothing is ever antialiased.
class TPainter : public QPainter {
 public:
  explicit TPainter(QImage* Image) : QPainter(Image) {
    setRenderHint(QPainter::Antialiasing, false);
  }
};

}  // namespace

TQtPicture::TQtPicture(int32_t AWidth, int32_t AHeight, TColor Fill)
    : Img(std::max(AWidth, 0), std::max(AHeight, 0), QImage::Format_RGB32) {
  Img.fill(ToQColor(Fill));
}

TQtPicture::TQtPicture(const QImage& Source)
    : Img(Source.format() == QImage::Format_RGB32 ? Source
                                                  : Source.convertToFormat(QImage::Format_RGB32)) {}

QColor TQtPicture::ToQColor(TColor Color) {
  // Red lives in the low byte.
  return QColor(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

TColor TQtPicture::FromQRgb(QRgb Rgb) {
  return static_cast<TColor>(qRed(Rgb)) | static_cast<TColor>(qGreen(Rgb)) << 8 |
         static_cast<TColor>(qBlue(Rgb)) << 16;
}

TColor TQtPicture::Pixel(int32_t X, int32_t Y) const {
  if (X < 0 || Y < 0 || X >= Img.width() || Y >= Img.height()) return clBlack;
  return FromQRgb(reinterpret_cast<const QRgb*>(Img.constScanLine(Y))[X]);
}

std::unique_ptr<TPicture> TQtPicture::Clone() const { return std::make_unique<TQtPicture>(Img); }

void TQtPicture::Assign(const TPicture& Source) {
  if (const auto* Qt = dynamic_cast<const TQtPicture*>(&Source)) {
    Img = Qt->Img;  // shared until either side is painted on
    return;
  }
  QImage Copy(Source.Width(), Source.Height(), QImage::Format_RGB32);
  for (int32_t Y = 0; Y < Source.Height(); ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Copy.scanLine(Y));
    for (int32_t X = 0; X < Source.Width(); ++X) {
      const TColor C = Source.Pixel(X, Y);
      Row[X] = qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
    }
  }
  Img = Copy;
}

void TQtPicture::Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (Img.isNull()) return;
  TPainter P(&Img);
  P.setPen(QPen(ToQColor(Pen), PenWidth));
  P.drawLine(X1, Y1, X2, Y2);
}

void TQtPicture::Polygon(const TPoint* Points, int32_t Count) {
  if (Img.isNull() || Count <= 0) return;
  QPoint Small[8];
  std::vector<QPoint> Large;
  QPoint* Q = Small;
  if (Count > 8) {
    Large.resize(Count);
    Q = Large.data();
  }
  for (int32_t I = 0; I < Count; ++I) Q[I] = QPoint(Points[I].x, Points[I].y);
  TPainter P(&Img);
  P.setPen(QPen(ToQColor(Pen), PenWidth));
  P.setBrush(Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush)));
  P.drawPolygon(Q, Count);
}

void TQtPicture::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  Box(TBoxShape::Ellipse, X1, Y1, X2, Y2);
}

void TQtPicture::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  Box(TBoxShape::Rectangle, X1, Y1, X2, Y2);
}

void TQtPicture::Box(TBoxShape Shape, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (Img.isNull()) return;
  // Corners in any order; the right column and bottom row of the box stay outside.
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  const int32_t W = X2 - X1 - 1;
  const int32_t H = Y2 - Y1 - 1;
  if (W < 0 || H < 0) return;  // an empty box draws nothing
  TPainter P(&Img);
  P.setPen(QPen(ToQColor(Pen), PenWidth));
  if (W == 0 || H == 0) {
    // One column or one row: Qt would draw nothing for so thin a box.
    P.drawLine(X1, Y1, X1 + W, Y1 + H);
    return;
  }
  P.setBrush(Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush)));
  // With a 1-pixel pen Qt covers x..x+w inclusive, so the box's width minus one.
  const QRect R(X1, Y1, W, H);
  if (Shape == TBoxShape::Ellipse)
    P.drawEllipse(R);
  else
    P.drawRect(R);
}
