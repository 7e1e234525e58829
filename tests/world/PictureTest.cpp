// The picture over QImage: colours with red in the low byte, and the exact pixel extents of
// the primitives the model draws with.

#include <gtest/gtest.h>

#include "WorldTestKit.h"

namespace {

struct TExtent {
  int32_t MinX = 1 << 30, MinY = 1 << 30, MaxX = -1, MaxY = -1, Count = 0;
  bool operator==(const TExtent&) const = default;
};

// Where the picture is no longer white.
TExtent Painted(const TPicture& P) {
  TExtent E;
  for (int32_t Y = 0; Y < P.Height(); ++Y)
    for (int32_t X = 0; X < P.Width(); ++X)
      if (P.Pixel(X, Y) != clWhite) {
        E = {std::min(E.MinX, X), std::min(E.MinY, Y), std::max(E.MaxX, X), std::max(E.MaxY, Y),
             E.Count + 1};
      }
  return E;
}

}  // namespace

TEST(Picture, ColoursKeepRedInTheLowByte) {
  TQtPicture P(4, 3, clWhite);
  P.SetPenColor(0x3DCEFF);  // red 255, green 206, blue 61
  P.Line(1, 0, 1, 0);
  EXPECT_EQ(P.Pixel(1, 0), 0x3DCEFFu);
  EXPECT_EQ(P.Image().pixel(1, 0), qRgb(255, 206, 61));
  // Outside the picture reads as black.
  EXPECT_EQ(P.Pixel(-1, 0), clBlack);
  EXPECT_EQ(P.Pixel(0, 3), clBlack);

  QImage Rgb888(2, 2, QImage::Format_RGB888);
  Rgb888.fill(QColor(10, 20, 30));
  TQtPicture Converted(Rgb888);
  EXPECT_EQ(Converted.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(Converted.Pixel(1, 1), 10u + 256u * 20 + 65536u * 30);
}

TEST(Picture, BoxesExcludeTheirRightColumnAndBottomRow) {
  for (bool Rect : {false, true}) {
    SCOPED_TRACE(Rect ? "rectangle" : "ellipse");
    auto Draw = [Rect](int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
      auto P = std::make_unique<TQtPicture>(30, 30, clWhite);
      P->SetPenColor(clBlack);
      P->SetBrushColor(clLime);
      if (Rect)
        P->Rectangle(X1, Y1, X2, Y2);
      else
        P->Ellipse(X1, Y1, X2, Y2);
      return P;
    };
    auto P = Draw(4, 5, 14, 11);
    const TExtent E = Painted(*P);
    EXPECT_EQ((TExtent{4, 5, 13, 10, E.Count}), E);
    EXPECT_EQ(P->Pixel(9, 8), clLime);   // filled inside
    EXPECT_EQ(P->Pixel(9, 5), clBlack);  // outlined with the pen
    // Corners the other way round give the same box.
    EXPECT_EQ(Draw(14, 11, 4, 5)->Image(), P->Image());
    // One column wide (the gauge bar), and empty.
    EXPECT_EQ(Painted(*Draw(3, 1, 4, 8)), (TExtent{3, 1, 3, 7, 7}));
    EXPECT_EQ(Painted(*Draw(3, 3, 3, 8)).Count, 0);
    // The smallest circle the model draws, radius 1, stays within its 2 x 2 box.
    const TExtent Dot = Painted(*Draw(4, 4, 6, 6));
    EXPECT_GT(Dot.Count, 0);
    EXPECT_TRUE(Dot.MinX >= 4 && Dot.MaxX <= 5 && Dot.MinY >= 4 && Dot.MaxY <= 5);
  }
}

TEST(Picture, ClearBrushLinesAndPolygons) {
  TQtPicture P(30, 30, clWhite);
  P.SetPenColor(clBlue);
  P.SetBrushStyle(TBrushStyle::bsClear);
  P.Ellipse(2, 2, 20, 20);
  EXPECT_EQ(P.Pixel(11, 11), clWhite);
  EXPECT_EQ(P.Pixel(11, 19), clBlue);
  P.SetBrushColor(clRed);  // a colour makes the brush solid again
  EXPECT_EQ(P.BrushStyle(), TBrushStyle::bsSolid);

  TQtPicture L(20, 20, clWhite);
  L.SetPenColor(clBlack);
  L.Line(2, 3, 12, 3);  // both ends
  EXPECT_EQ(Painted(L), (TExtent{2, 3, 12, 3, 11}));

  TQtPicture Q(20, 20, clWhite);
  Q.SetPenColor(clBlack);
  Q.SetBrushColor(clYellow);
  const TPoint Triangle[3] = {{16, 10}, {5, 14}, {5, 6}};
  Q.Polygon(Triangle, 3);
  EXPECT_EQ(Painted(Q).MinX, 5);
  EXPECT_EQ(Painted(Q).MaxX, 16);
  EXPECT_EQ(Painted(Q).MaxY, 14);
  EXPECT_EQ(Q.Pixel(8, 10), clYellow);
}

TEST(Picture, ClonesAndAssignedCopiesAreIndependent) {
  TQtPicture P(8, 6, clWhite);
  std::unique_ptr<TPicture> Copy = P.Clone();
  P.SetPenColor(clBlack);
  P.Line(0, 0, 7, 0);
  EXPECT_EQ(Copy->Pixel(3, 0), clWhite);

  TQtPicture Small(2, 2, clRed);
  Small.Assign(P);  // size included
  EXPECT_EQ(Small.Width(), 8);
  EXPECT_EQ(Small.Pixel(3, 0), clBlack);
  P.Line(0, 5, 7, 5);
  EXPECT_EQ(Small.Pixel(3, 5), clWhite);
}
