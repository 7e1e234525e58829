#include "io/UPlots.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace {
// Room for the title above the lines and the range labels left of them, pixels.
constexpr int TitleHeight = 14;
constexpr int LabelWidth = 40;
constexpr int BottomHeight = 12;

QString Short(double V) { return QString::number(V, 'g', 4); }
}  // namespace

QPointF PlotPoint(const QRect& Box, size_t I, size_t Count, double Value, double Low, double High) {
  const double FX = Count > 1 ? double(I) / double(Count - 1) : 1.0;
  const double FY = High > Low ? (Value - Low) / (High - Low) : 0.0;
  return {Box.left() + FX * Box.width(), Box.bottom() - FY * Box.height()};
}

void DrawLinePlot(QPainter& Painter, const QRect& Box, const QString& Title,
                  const std::vector<TPlotSeries>& Series, const QString& Span) {
  Painter.save();
  Painter.setPen(Qt::gray);
  Painter.setBrush(Qt::NoBrush);
  const QRect Lines = Box.adjusted(LabelWidth, TitleHeight, -2, -BottomHeight);
  Painter.drawRect(Lines);
  double Low = 0, High = 0;
  size_t Count = 0;
  for (const TPlotSeries& S : Series)
    for (double V : S.Values) {
      Low = std::min(Low, V);
      High = std::max(High, V);
      Count = std::max(Count, S.Values.size());
    }
  if (High == Low) High = Low + 1;
  QString Caption = Title;
  if (!Series.empty() && !Series.front().Values.empty())
    Caption += QStringLiteral(": ") + Short(Series.front().Values.back());
  Painter.setPen(Qt::black);
  QFont Small = Painter.font();
  Small.setPixelSize(10);
  Painter.setFont(Small);
  Painter.drawText(QRect(Box.left(), Box.top(), Box.width(), TitleHeight), Qt::AlignLeft, Caption);
  Painter.drawText(QRect(Box.left(), Lines.top() - 5, LabelWidth - 3, 12), Qt::AlignRight,
                   Short(High));
  Painter.drawText(QRect(Box.left(), Lines.bottom() - 7, LabelWidth - 3, 12), Qt::AlignRight,
                   Short(Low));
  Painter.drawText(QRect(Lines.left(), Lines.bottom() + 1, Lines.width(), BottomHeight),
                   Qt::AlignRight, Span);
  for (const TPlotSeries& S : Series) {
    QPolygonF Line;
    for (size_t I = 0; I < S.Values.size(); ++I)
      Line << PlotPoint(Lines, I, Count, S.Values[I], Low, High);
    Painter.setPen(QPen(S.Color, 1));
    Painter.drawPolyline(Line);
  }
  Painter.restore();
}
