#pragma once
// The picture the players draw on and the circuit is read from, declared here and implemented
// over QImage in io/. A player may have none: it then simply skips drawing.

#include <cstdint>
#include <memory>

/// A colour: red in the low byte, then green, then blue (red + 256 * green + 65536 * blue).
using TColor = uint32_t;

constexpr TColor clBlack = 0;
constexpr TColor clRed = 255;
constexpr TColor clLime = 65280;
constexpr TColor clYellow = 65535;
constexpr TColor clBlue = 16711680;
constexpr TColor clFuchsia = 16711935;
constexpr TColor clGray = 8421504;
constexpr TColor clSilver = 12632256;
constexpr TColor clWhite = 16777215;

struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TPoint&) const = default;
};

enum class TBrushStyle : uint8_t { bsSolid, bsClear };

/// A picture with a canvas. Boxes (X1, Y1, X2, Y2) exclude their right column and bottom row,
/// so an ellipse or rectangle covers columns X1..X2-1 and rows Y1..Y2-1; lines cover both ends.
class TPicture {
 public:
  virtual ~TPicture() = default;

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual TColor Pixel(int32_t X, int32_t Y) const = 0;

  /// A new picture holding a copy of this one.
  virtual std::unique_ptr<TPicture> Clone() const = 0;
  /// Replaces this picture, size included, by a copy of Source.
  virtual void Assign(const TPicture& Source) = 0;

  // The canvas: a pen (colour, width) and a brush (colour, solid or clear).
  virtual void SetPenColor(TColor Color) = 0;
  virtual TColor PenColor() const = 0;
  virtual void SetPenWidth(int32_t Width) = 0;
  /// Setting a brush colour makes a clear brush solid again.
  virtual void SetBrushColor(TColor Color) = 0;
  virtual void SetBrushStyle(TBrushStyle Style) = 0;
  virtual TBrushStyle BrushStyle() const = 0;

  virtual void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;
  /// Outlined with the pen and filled with the brush (unless the brush is clear).
  virtual void Polygon(const TPoint* Points, int32_t Count) = 0;
  virtual void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;
  virtual void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;
};
