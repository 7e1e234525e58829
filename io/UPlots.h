#pragma once
// Charts drawn by Qt Charts: the thinking view's plots and kartrun's report pictures alike, with
// axes that carry ticks and units and a legend that names every line. Qt Charts draws through
// the graphics items of Qt Widgets: a QApplication must exist (the offscreen platform will do).

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <vector>

class QChart;

/// One line of a chart.
struct TPlotSeries {
  QString Name;                 ///< in the legend, e.g. "Kart #1 (red)"
  std::vector<QPointF> Points;  ///< in the axes' units
  QColor Color;
  bool Markers = false;  ///< marks every point too: for few points, such as laps
};

/// The axes' titles, each with its unit.
struct TPlotAxes {
  QString X;
  QString Y;
  bool WholeX = false;  ///< x counts things (laps): ticks on whole numbers only
};

/// Small margins and fonts, square corners: charts that share a window keep room for their data.
void MakeCompact(QChart& Chart);

/// A new chart of the series, owned by the caller: its axes fit the points, y from 0 up (down to
/// the least value when that is negative), with round ticks.
QChart* NewLineChart(const QString& Title, const TPlotAxes& Axes,
                     const std::vector<TPlotSeries>& Series);
/// Replaces the points of a chart made by NewLineChart with as many series, and fits its axes.
void SetChartPoints(QChart& Chart, const std::vector<TPlotSeries>& Series);
/// Fits the chart's value axes to Low..High (x, then y) with round ticks; an empty span grows.
void FitAxes(QChart& Chart, QPointF Low, QPointF High, bool WholeX);
/// The chart as a picture of Size on white, as a screen would show it.
QImage ChartImage(QChart& Chart, QSize Size);

/// A kart's colour as a line on white: light colours (yellow, white) are drawn darker.
QColor LineColorOnWhite(QColor Color);
