#include "io/UPlots.h"

#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QValueAxis* Axis(QChart& Chart, Qt::Orientation Orientation) {
  const QList<QAbstractAxis*> Axes = Chart.axes(Orientation);
  return Axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(Axes.first());
}

// A series of lines, with its points marked when asked.
void Fill(QLineSeries& Line, const TPlotSeries& S) {
  QList<QPointF> Points(S.Points.begin(), S.Points.end());
  Line.replace(Points);
  Line.setPointsVisible(S.Markers);
}

}  // namespace

void MakeCompact(QChart& Chart) {
  Chart.setMargins(QMargins(4, 2, 4, 2));
  Chart.setBackgroundRoundness(0);
  QFont Title = Chart.titleFont();
  Title.setPointSizeF(9);
  Title.setBold(true);
  Chart.setTitleFont(Title);
  QFont Small = Chart.font();
  Small.setPointSizeF(8);
  Chart.legend()->setFont(Small);
  for (QAbstractAxis* A : Chart.axes()) {
    A->setLabelsFont(Small);
    QFont Bold = Small;
    Bold.setBold(true);
    A->setTitleFont(Bold);
  }
}

QColor LineColorOnWhite(QColor C) {
  return 0.299 * C.red() + 0.587 * C.green() + 0.114 * C.blue() > 140 ? C.darker(170) : C;
}

QChart* NewLineChart(const QString& Title, const TPlotAxes& Axes,
                     const std::vector<TPlotSeries>& Series) {
  auto* Chart = new QChart;
  Chart->setTitle(Title);
  Chart->setAnimationOptions(QChart::NoAnimation);
  Chart->legend()->setAlignment(Qt::AlignBottom);
  auto* X = new QValueAxis;
  auto* Y = new QValueAxis;
  X->setTitleText(Axes.X);
  Y->setTitleText(Axes.Y);
  X->setLabelFormat(Axes.WholeX ? QStringLiteral("%d") : QStringLiteral("%g"));
  Y->setLabelFormat(QStringLiteral("%g"));
  Chart->addAxis(X, Qt::AlignBottom);
  Chart->addAxis(Y, Qt::AlignLeft);
  for (const TPlotSeries& S : Series) {
    auto* Line = new QLineSeries;
    Line->setName(S.Name);
    Line->setPen(QPen(S.Color, 2));
    Line->setColor(S.Color);
    Chart->addSeries(Line);
    Line->attachAxis(X);
    Line->attachAxis(Y);
  }
  // Remembered with the chart, so that later points fit the same way.
  Chart->setProperty("WholeX", Axes.WholeX);
  SetChartPoints(*Chart, Series);
  return Chart;
}

void SetChartPoints(QChart& Chart, const std::vector<TPlotSeries>& Series) {
  const QList<QAbstractSeries*> Lines = Chart.series();
  double X0 = std::numeric_limits<double>::infinity(), X1 = -X0, Y0 = 0, Y1 = 0;
  for (size_t I = 0; I < Series.size() && I < static_cast<size_t>(Lines.size()); ++I) {
    if (auto* Line = qobject_cast<QLineSeries*>(Lines[static_cast<int>(I)])) Fill(*Line, Series[I]);
    for (const QPointF& P : Series[I].Points) {
      X0 = std::min(X0, P.x());
      X1 = std::max(X1, P.x());
      Y0 = std::min(Y0, P.y());
      Y1 = std::max(Y1, P.y());
    }
  }
  if (X0 > X1) X0 = X1 = 0;  // nothing to show yet
  FitAxes(Chart, {X0, Y0}, {X1, Y1}, Chart.property("WholeX").toBool());
}

void FitAxes(QChart& Chart, QPointF Low, QPointF High, bool WholeX) {
  QValueAxis* X = Axis(Chart, Qt::Horizontal);
  QValueAxis* Y = Axis(Chart, Qt::Vertical);
  if (!X || !Y) return;
  // An empty span would give no ticks at all.
  if (High.x() <= Low.x()) High.setX(Low.x() + 1);
  if (High.y() <= Low.y()) High.setY(Low.y() + 1);
  X->setRange(Low.x(), High.x());
  Y->setRange(Low.y(), High.y());
  Y->applyNiceNumbers();
  if (WholeX) {
    // One tick per lap while they are few.
    const int Span = static_cast<int>(std::ceil(High.x() - Low.x()));
    X->setTickCount(std::clamp(Span + 1, 2, 11));
    if (Span <= 10) X->setRange(std::floor(Low.x()), std::floor(Low.x()) + Span);
  } else {
    X->applyNiceNumbers();
  }
}

QImage ChartImage(QChart& Chart, QSize Size) {
  QImage Image(Size, QImage::Format_RGB32);
  Image.fill(Qt::white);
  QGraphicsScene Scene;
  Scene.addItem(&Chart);
  Chart.setGeometry(QRectF(QPointF(0, 0), Size));
  QPainter P(&Image);
  P.setRenderHint(QPainter::Antialiasing);
  Scene.render(&P, QRectF(QPointF(0, 0), Size), QRectF(QPointF(0, 0), Size));
  P.end();
  // The chart stays the caller's.
  Scene.removeItem(&Chart);
  return Image;
}
