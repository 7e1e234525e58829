#pragma once
// What a pass draws on a worker thread, recorded for the window's thread to draw later.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "world/UPlatform.h"

/// The canvas of a worker: records what the traces draw, for the window's thread to draw later.
class TPassCanvas : public TPicture {
 public:
  /// One drawing call as it was made.
  struct TOp {
    enum TKind : uint8_t {
      PenColor,
      PenWidth,
      BrushColor,
      BrushStyle,
      Line,
      Polygon,
      Ellipse,
      Rectangle
    };
    TKind Kind;
    int32_t A = 0, B = 0, C = 0, D = 0;
  };
  const TPicture* Source = nullptr;  ///< the real picture, read only while the passes run
  std::vector<TOp> Ops;
  std::vector<TPoint> PolygonPoints;  ///< Polygon calls: count in Op.A, start in Op.B

  int32_t Width() const override { return Source->Width(); }
  int32_t Height() const override { return Source->Height(); }
  TColor Pixel(int32_t X, int32_t Y) const override { return Source->Pixel(X, Y); }
  std::unique_ptr<TPicture> Clone() const override { return Source->Clone(); }
  /// A pass never replaces the picture.
  void Assign(const TPicture& Source) override;
  void SetPenColor(TColor Color) override;
  TColor PenColor() const override { return Pen; }
  void SetPenWidth(int32_t Width) override { Ops.push_back({TOp::PenWidth, Width}); }
  void SetBrushColor(TColor Color) override;
  void SetBrushStyle(TBrushStyle Style) override;
  TBrushStyle BrushStyle() const override { return Brush; }
  void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void Polygon(const TPoint* Points, int32_t Count) override;
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  /// Draws the calls [Begin, End) on Target, in the order they were made.
  void Replay(TPicture& Target, size_t Begin, size_t End) const;

 private:
  TColor Pen = clBlack;
  TBrushStyle Brush = TBrushStyle::bsSolid;
};

/// A pass a worker has stored, and what its traces drew: calls [OpsBegin, OpsEnd) of the
/// worker's canvas.
struct TPassDone {
  int32_t Pass;
  uint32_t OpsBegin, OpsEnd;
};
