#include "ui/UThinkingView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UPicture.h"
#include "io/UPlots.h"
#include "world/URaceSetup.h"

namespace {

// The free parameter index within State of the parameter at Index, or -1.
int FreeIndexOf(const TState& State, int32_t Index) {
  for (int32_t I = 0; I < State.FreeParamCount(); ++I)
    if (&State.FreeParam(I) == State.Params[Index].get()) return I;
  return -1;
}

// Option colours along the bar list, and the mark of the decision taken.
const QColor BarColor(70, 120, 200);
const QColor ChosenColor(220, 90, 30);

}  // namespace

TThinkingSnapshot TakeSnapshot(const TKart& Kart, int Number, const TKartRecord* Record) {
  TThinkingSnapshot S;
  S.Kart = QStringLiteral("Kart #%1").arg(Number);
  S.Color = TQtPicture::ToQColor(Kart.Color);
  const TState& Real = *Kart.RealState;
  const TStateParam& Turn = *Real.Params[Kart.PushTurnIndex];
  const TStateParam& Power = *Real.Params[Kart.PushPowerIndex];
  S.MinTurn = Turn.MinValue;
  S.MaxTurn = Turn.MaxValue;
  S.MinPower = Power.MinValue;
  S.MaxPower = Power.MaxValue;
  S.RealTurn = Turn.Value;
  S.RealPower = Power.Value;
  const TListOfFutures& List = *Kart.Futures;
  for (int32_t I = 0; I < List.OptionCount(); ++I) {
    const TState& O = List.Option(I);
    S.Options.push_back({QString::fromStdString(O.DecisionText()), O.Score,
                         O.Params[Kart.PushTurnIndex]->RoundedValue(),
                         O.Params[Kart.PushPowerIndex]->RoundedValue()});
  }
  std::stable_sort(S.Options.begin(), S.Options.end(), [](const auto& A, const auto& B) {
    return A.Turn != B.Turn ? A.Turn < B.Turn : A.Power < B.Power;
  });
  // The decision taken, in units of each decision's range: the nearest option is marked.
  double Best = 0;
  for (size_t I = 0; I < S.Options.size(); ++I) {
    const double DT = (S.Options[I].Turn - S.RealTurn) / std::max(1e-9, S.MaxTurn - S.MinTurn);
    const double DP = (S.Options[I].Power - S.RealPower) / std::max(1e-9, S.MaxPower - S.MinPower);
    if (S.Chosen < 0 || DT * DT + DP * DP < Best) {
      S.Chosen = static_cast<int>(I);
      Best = DT * DT + DP * DP;
    }
  }
  const std::vector<double>& Avg = List.AveragedDecision();
  const int T = FreeIndexOf(Real, Kart.PushTurnIndex), P = FreeIndexOf(Real, Kart.PushPowerIndex);
  if (T >= 0 && P >= 0 && static_cast<size_t>(std::max(T, P)) < Avg.size()) {
    S.Decided = true;
    S.AvgTurn = Avg[T];
    S.AvgPower = Avg[P];
  }
  if (Record) S.History = Record->History;
  return S;
}

TThinkingView::TThinkingView(QWidget* Parent) : QWidget(Parent, Qt::Window) {
  setObjectName(QStringLiteral("ThinkingView"));
  setWindowTitle(QStringLiteral("Thinking of the chosen kart"));
  setMinimumSize(820, 700);
  resize(980, 820);
  const auto NewView = [this](QChart* Chart, const QString& Name) {
    Chart->setAnimationOptions(QChart::NoAnimation);
    auto* View = new QChartView(Chart, this);
    View->setObjectName(Name);
    View->setRenderHint(QPainter::Antialiasing);
    return View;
  };

  // The options' shares, one bar each; the one nearest the decision taken stands out.
  auto* OptionsChart = new QChart;
  OptionsChart->setTitle(QStringLiteral("Options (orange: nearest the decision taken)"));
  OptionsChart->legend()->hide();
  Shares = new QBarSet(QStringLiteral("share (%)"));
  Shares->setColor(BarColor);
  Shares->setBorderColor(BarColor);
  Shares->setSelectedColor(ChosenColor);
  auto* Bars = new QHorizontalBarSeries;
  Bars->append(Shares);
  OptionsChart->addSeries(Bars);
  OptionNames = new QBarCategoryAxis;
  OptionNames->setTitleText(QStringLiteral("(turn, power) #futures"));
  auto* ShareAxis = new QValueAxis;
  ShareAxis->setTitleText(QStringLiteral("share (%)"));
  ShareAxis->setRange(0, 100);
  ShareAxis->setLabelFormat(QStringLiteral("%g"));
  OptionsChart->addAxis(OptionNames, Qt::AlignLeft);
  OptionsChart->addAxis(ShareAxis, Qt::AlignBottom);
  Bars->attachAxis(OptionNames);
  Bars->attachAxis(ShareAxis);
  MakeCompact(*OptionsChart);
  Options = NewView(OptionsChart, QStringLiteral("OptionsChart"));

  // The decision plane: each option where its decision lies, its area following its share.
  auto* PlaneChart = new QChart;
  PlaneChart->setTitle(QStringLiteral("Decision plane (circle area: share)"));
  PlaneChart->legend()->setAlignment(Qt::AlignBottom);
  OptionPoints = new QScatterSeries;
  OptionPoints->setName(QStringLiteral("options"));
  OptionPoints->setColor(QColor(BarColor.red(), BarColor.green(), BarColor.blue(), 110));
  OptionPoints->setBorderColor(BarColor);
  Averaged = new QScatterSeries;
  Averaged->setName(QStringLiteral("averaged"));
  Averaged->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  Averaged->setMarkerSize(10);
  Averaged->setColor(Qt::darkGreen);
  Taken = new QScatterSeries;
  Taken->setName(QStringLiteral("taken"));
  Taken->setMarkerShape(QScatterSeries::MarkerShapeStar);
  Taken->setMarkerSize(16);
  Taken->setColor(ChosenColor);
  auto* TurnAxis = new QValueAxis;
  // The decisions are the rates at which steering and engine power change.
  TurnAxis->setTitleText(QStringLiteral("turn rate (rad/s)"));
  auto* PowerAxis = new QValueAxis;
  PowerAxis->setTitleText(QStringLiteral("power rate (px/s\u00b3)"));
  TurnAxis->setLabelFormat(QStringLiteral("%.1f"));
  PowerAxis->setLabelFormat(QStringLiteral("%.0f"));
  PlaneChart->addAxis(TurnAxis, Qt::AlignBottom);
  PlaneChart->addAxis(PowerAxis, Qt::AlignLeft);
  for (QScatterSeries* S : {OptionPoints, Averaged, Taken}) {
    PlaneChart->addSeries(S);
    S->attachAxis(TurnAxis);
    S->attachAxis(PowerAxis);
  }
  MakeCompact(*PlaneChart);
  Plane = NewView(PlaneChart, QStringLiteral("PlaneChart"));

  // The last minute, one chart per figure.
  const std::pair<const char*, const char*> Figures[] = {{"Futures per move", "futures"},
                                                         {"Distinct end cells", "cells"},
                                                         {"End points grid size", "grid size (px)"},
                                                         {"Speed", "speed (px/s)"}};
  for (const auto& [Title, Unit] : Figures) {
    QChart* Chart = NewLineChart(QString::fromUtf8(Title),
                                 {QStringLiteral("time (s, 0: now)"), QString::fromUtf8(Unit)},
                                 {TPlotSeries{}});
    MakeCompact(*Chart);
    // One kart's line: its name beside the plot leaves the height to the data.
    Chart->legend()->setAlignment(Qt::AlignRight);
    History.push_back(NewView(Chart, QStringLiteral("HistoryChart%1").arg(History.size())));
  }

  auto* Grid = new QGridLayout(this);
  Grid->setContentsMargins(4, 4, 4, 4);
  Grid->setSpacing(4);
  Grid->addWidget(Options, 0, 0);
  Grid->addWidget(Plane, 0, 1);
  for (int I = 0; I < 4; ++I) Grid->addWidget(History[I], 1 + I / 2, I % 2);
  Grid->setRowStretch(0, 3);
  Grid->setRowStretch(1, 2);
  Grid->setRowStretch(2, 2);
  Show(TThinkingSnapshot());
}

std::vector<QChart*> TThinkingView::Charts() const {
  std::vector<QChart*> All = {Options->chart(), Plane->chart()};
  for (QChartView* V : History) All.push_back(V->chart());
  return All;
}

void TThinkingView::Show(TThinkingSnapshot Snapshot) {
  Data = std::move(Snapshot);
  setWindowTitle(Data.Kart.isEmpty() ? QStringLiteral("Thinking of the chosen kart")
                                     : QStringLiteral("Thinking of ") + Data.Kart);
  ShowOptions();
  ShowPlane();
  ShowHistory();
}

void TThinkingView::ShowOptions() {
  QStringList Names;
  QList<qreal> Values;
  for (const auto& O : Data.Options) {
    Names << O.Text;
    Values << 100 * std::clamp(O.Share, 0.0, 1.0);
  }
  if (Names.isEmpty()) Names << QStringLiteral("no decision yet");
  Shares->deselectAllBars();
  Shares->remove(0, Shares->count());
  OptionNames->clear();
  OptionNames->append(Names);
  Shares->append(Values);
  if (Data.Chosen >= 0) Shares->selectBar(Data.Chosen);
}

void TThinkingView::ShowPlane() {
  OptionPoints->clear();
  OptionPoints->clearPointsConfiguration();
  Averaged->clear();
  Taken->clear();
  // Room round the decisions' bounds for the largest circle, so that none leaves the frame.
  const double TurnPad = 0.18 * std::max(1e-9, Data.MaxTurn - Data.MinTurn);
  const double PowerPad = 0.18 * std::max(1e-9, Data.MaxPower - Data.MinPower);
  const QList<QAbstractAxis*> X = Plane->chart()->axes(Qt::Horizontal);
  const QList<QAbstractAxis*> Y = Plane->chart()->axes(Qt::Vertical);
  for (const auto& [Axis, Low, High] :
       {std::tuple{X.first(), Data.MinTurn - TurnPad, Data.MaxTurn + TurnPad},
        std::tuple{Y.first(), Data.MinPower - PowerPad, Data.MaxPower + PowerPad}}) {
    Axis->setRange(Low, High);
    // Round ticks; the range only grows, so the room for the circles stays.
    if (auto* Values = qobject_cast<QValueAxis*>(Axis)) Values->applyNiceNumbers();
  }
  for (size_t I = 0; I < Data.Options.size(); ++I) {
    const auto& O = Data.Options[I];
    OptionPoints->append(O.Turn, O.Power);
    // Diameter in pixels: the area follows the share, 6 to 30 pixels across.
    const double Size = 6 + 24 * std::sqrt(std::clamp(O.Share, 0.0, 1.0));
    OptionPoints->setPointConfiguration(static_cast<int>(I), QXYSeries::PointConfiguration::Size,
                                        Size);
    if (static_cast<int>(I) == Data.Chosen)
      OptionPoints->setPointConfiguration(static_cast<int>(I), QXYSeries::PointConfiguration::Color,
                                          ChosenColor);
  }
  if (!Data.Decided) return;
  Averaged->append(Data.AvgTurn, Data.AvgPower);
  Taken->append(Data.RealTurn, Data.RealPower);
}

void TThinkingView::ShowHistory() {
  const QString Name = Data.Kart.isEmpty() ? QStringLiteral("no kart") : Data.Kart;
  const QColor Color = Data.Color.isValid() ? LineColorOnWhite(Data.Color) : QColor(Qt::darkBlue);
  // Seconds before the last move: the latest point is at 0.
  const int N = static_cast<int>(Data.History.size());
  const auto At = [N](int I) { return (I - (N - 1)) * TimeStepMs / 1000.0; };
  double (*const Figure[4])(const TMoveSample&) = {
      [](const TMoveSample& S) { return double(S.Futures); },
      [](const TMoveSample& S) { return double(S.Distinct); },
      [](const TMoveSample& S) { return double(S.Grid); },
      [](const TMoveSample& S) { return S.Speed; }};
  for (int F = 0; F < 4; ++F) {
    TPlotSeries Series{Name, {}, Color};
    for (int I = 0; I < N; ++I) Series.Points.emplace_back(At(I), Figure[F](Data.History[I]));
    QChart& Chart = *History[F]->chart();
    SetChartPoints(Chart, {Series});
    if (auto* Line = qobject_cast<QLineSeries*>(Chart.series().first())) {
      Line->setName(Name);
      Line->setPen(QPen(Color, 2));
    }
  }
}
