#pragma once
// The model's picture over a QImage: the window, the headless tools and the tests all draw here.

#include <QImage>
#include <memory>

#include "world/UPlatform.h"

/// A TPicture held as a Format_RGB32 QImage, painted without antialiasing so that every pixel
/// the model draws can be read back exactly.
class TQtPicture : public TPicture {
 public:
  /// Width x Height pixels, all of colour Fill.
  TQtPicture(int32_t AWidth, int32_t AHeight, TColor Fill = clBlack);
  /// A copy of Source, converted to Format_RGB32 (the data is shared until one side changes).
  explicit TQtPicture(const QImage& Source);

  /// The image itself, for loading, saving and showing; keep it in Format_RGB32.
  QImage& Image() { return Img; }
  const QImage& Image() const { return Img; }

  int32_t Width() const override { return Img.width(); }
  int32_t Height() const override { return Img.height(); }
  /// Black outside the picture.
  TColor Pixel(int32_t X, int32_t Y) const override;

  std::unique_ptr<TPicture> Clone() const override;
  void Assign(const TPicture& Source) override;

  void SetPenColor(TColor Color) override { Pen = Color; }
  TColor PenColor() const override { return Pen; }
  void SetPenWidth(int32_t Width) override { PenWidth = Width; }
  void SetBrushColor(TColor Color) override {
    Brush = Color;
    Style = TBrushStyle::bsSolid;
  }
  void SetBrushStyle(TBrushStyle S) override { Style = S; }
  TBrushStyle BrushStyle() const override { return Style; }

  void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void Polygon(const TPoint* Points, int32_t Count) override;
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;

  static QColor ToQColor(TColor Color);
  static TColor FromQRgb(QRgb Rgb);

 private:
  enum class TBoxShape { Ellipse, Rectangle };
  void Box(TBoxShape Shape, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);

  QImage Img;
  TColor Pen = clBlack;
  int32_t PenWidth = 1;
  TColor Brush = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
};
