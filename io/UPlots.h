#pragma once
// Small line plots drawn with QPainter: the thinking view's recent history and the headless
// runner's report pictures draw them alike. Text needs a QGuiApplication.

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

/// One line of a plot: a value per sample, evenly spaced.
struct TPlotSeries {
  std::vector<double> Values;
  QColor Color;
};

/// Draws the series into Box: a frame, the title with the latest value of the first series, the
/// value range on the left (from 0 up, or down to the least value when that is negative) and
/// Span, the time the samples cover, along the bottom. Empty series draw only the frame.
void DrawLinePlot(QPainter& Painter, const QRect& Box, const QString& Title,
                  const std::vector<TPlotSeries>& Series, const QString& Span);

/// Where sample I of Count lies across Box, and where Value lies between Low and High.
QPointF PlotPoint(const QRect& Box, size_t I, size_t Count, double Value, double Low, double High);
