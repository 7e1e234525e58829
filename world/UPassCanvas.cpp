#include "world/UPassCanvas.h"

#include "decision/UBase.h"

void TPassCanvas::Assign(const TPicture& /*Source*/) {
  throw EModelError("A pass cannot replace the picture.");
}

void TPassCanvas::SetPenColor(TColor Color) {
  Pen = Color;
  Ops.push_back({TOp::PenColor, static_cast<int32_t>(Color)});
}

void TPassCanvas::SetBrushColor(TColor Color) {
  Brush = TBrushStyle::bsSolid;
  Ops.push_back({TOp::BrushColor, static_cast<int32_t>(Color)});
}

void TPassCanvas::SetBrushStyle(TBrushStyle Style) {
  Brush = Style;
  Ops.push_back({TOp::BrushStyle, static_cast<int32_t>(Style)});
}

void TPassCanvas::Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  Ops.push_back({TOp::Line, X1, Y1, X2, Y2});
}

void TPassCanvas::Polygon(const TPoint* Points, int32_t Count) {
  Ops.push_back({TOp::Polygon, Count, static_cast<int32_t>(PolygonPoints.size())});
  PolygonPoints.insert(PolygonPoints.end(), Points, Points + Count);
}

void TPassCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  Ops.push_back({TOp::Ellipse, X1, Y1, X2, Y2});
}

void TPassCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  Ops.push_back({TOp::Rectangle, X1, Y1, X2, Y2});
}

void TPassCanvas::Replay(TPicture& Target, size_t Begin, size_t End) const {
  for (size_t I = Begin; I < End; ++I) {
    const TOp& Op = Ops[I];
    switch (Op.Kind) {
      case TOp::PenColor:
        Target.SetPenColor(static_cast<TColor>(Op.A));
        break;
      case TOp::PenWidth:
        Target.SetPenWidth(Op.A);
        break;
      case TOp::BrushColor:
        Target.SetBrushColor(static_cast<TColor>(Op.A));
        break;
      case TOp::BrushStyle:
        Target.SetBrushStyle(static_cast<TBrushStyle>(Op.A));
        break;
      case TOp::Line:
        Target.Line(Op.A, Op.B, Op.C, Op.D);
        break;
      case TOp::Polygon:
        Target.Polygon(PolygonPoints.data() + Op.B, Op.A);
        break;
      case TOp::Ellipse:
        Target.Ellipse(Op.A, Op.B, Op.C, Op.D);
        break;
      case TOp::Rectangle:
        Target.Rectangle(Op.A, Op.B, Op.C, Op.D);
        break;
    }
  }
}
