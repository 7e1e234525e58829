#include "ui/UThinkingView.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "agents/UKart.h"
#include "decision/UBase.h"
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
  setMinimumSize(560, 520);
  resize(640, 600);
}

void TThinkingView::Show(TThinkingSnapshot Snapshot) {
  Data = std::move(Snapshot);
  setWindowTitle(Data.Kart.isEmpty() ? QStringLiteral("Thinking of the chosen kart")
                                     : QStringLiteral("Thinking of ") + Data.Kart);
  update();
}

void TThinkingView::paintEvent(QPaintEvent*) {
  QPainter P(this);
  P.fillRect(rect(), Qt::white);
  const int Top = height() * 45 / 100;
  PaintBars(P, QRect(8, 8, width() / 2 - 12, Top - 8));
  PaintPlane(P, QRect(width() / 2 + 4, 8, width() / 2 - 12, Top - 8));
  PaintPlots(P, QRect(8, Top + 8, width() - 16, height() - Top - 16));
}

void TThinkingView::PaintBars(QPainter& P, const QRect& Box) const {
  P.setPen(Qt::black);
  P.drawText(Box.left(), Box.top() + 12, QStringLiteral("Options of the last decision (share)"));
  if (Data.Options.empty()) {
    P.drawText(Box.left(), Box.top() + 32, QStringLiteral("No decision yet."));
    return;
  }
  const int Rows = static_cast<int>(Data.Options.size());
  const int RowHeight = std::min(28, (Box.height() - 40) / Rows);
  const int TextWidth = 120;
  const int BarWidth = Box.width() - TextWidth - 50;
  for (int I = 0; I < Rows; ++I) {
    const auto& O = Data.Options[I];
    const int Y = Box.top() + 20 + I * RowHeight;
    const bool Chosen = I == Data.Chosen;
    P.setPen(Chosen ? ChosenColor : Qt::black);
    P.drawText(QRect(Box.left(), Y, TextWidth, RowHeight), Qt::AlignVCenter,
               (Chosen ? QStringLiteral("> ") : QStringLiteral("  ")) + O.Text);
    const int W = RoundEven(std::clamp(O.Share, 0.0, 1.0) * BarWidth);
    P.fillRect(Box.left() + TextWidth, Y + 3, W, RowHeight - 6, Chosen ? ChosenColor : BarColor);
    P.drawText(Box.left() + TextWidth + W + 4, Y + RowHeight / 2 + 4,
               QStringLiteral("%1 %").arg(O.Share * 100, 0, 'f', 1));
  }
  P.setPen(Qt::black);
  P.drawText(Box.left(), Box.top() + 20 + Rows * RowHeight + 14,
             QStringLiteral("taken: turn %1, power %2")
                 .arg(Data.RealTurn, 0, 'f', 2)
                 .arg(Data.RealPower, 0, 'f', 1));
}

void TThinkingView::PaintPlane(QPainter& P, const QRect& Box) const {
  P.setPen(Qt::black);
  P.drawText(Box.left(), Box.top() + 12, QStringLiteral("Decision plane: turn across, power up"));
  const QRect Plane = Box.adjusted(30, 22, -10, -30);
  P.setPen(Qt::gray);
  P.drawRect(Plane);
  const auto At = [&](double Turn, double Power) {
    const double FX = (Turn - Data.MinTurn) / std::max(1e-9, Data.MaxTurn - Data.MinTurn);
    const double FY = (Power - Data.MinPower) / std::max(1e-9, Data.MaxPower - Data.MinPower);
    return QPointF(Plane.left() + FX * Plane.width(), Plane.bottom() - FY * Plane.height());
  };
  // The axes through no turn and no power change.
  P.drawLine(At(0, Data.MinPower), At(0, Data.MaxPower));
  P.drawLine(At(Data.MinTurn, 0), At(Data.MaxTurn, 0));
  P.setPen(Qt::black);
  P.drawText(Plane.left(), Plane.bottom() + 14,
             QStringLiteral("turn %1 .. %2").arg(Data.MinTurn).arg(Data.MaxTurn));
  P.drawText(Plane.left(), Plane.bottom() + 26,
             QStringLiteral("power %1 .. %2;  + averaged,  \u25c6 taken")
                 .arg(Data.MinPower)
                 .arg(Data.MaxPower));
  // Each option as a circle whose area follows its share.
  for (size_t I = 0; I < Data.Options.size(); ++I) {
    const auto& O = Data.Options[I];
    const double R = 3 + 28 * std::sqrt(std::clamp(O.Share, 0.0, 1.0));
    const bool Chosen = static_cast<int>(I) == Data.Chosen;
    P.setPen(Chosen ? ChosenColor : BarColor);
    P.setBrush(QColor(BarColor.red(), BarColor.green(), BarColor.blue(), 60));
    P.drawEllipse(At(O.Turn, O.Power), R, R);
  }
  P.setBrush(Qt::NoBrush);
  if (!Data.Decided) return;
  const QPointF A = At(Data.AvgTurn, Data.AvgPower);
  P.setPen(QPen(Qt::darkGreen, 2));
  P.drawLine(A - QPointF(7, 0), A + QPointF(7, 0));
  P.drawLine(A - QPointF(0, 7), A + QPointF(0, 7));
  const QPointF T = At(Data.RealTurn, Data.RealPower);
  P.setPen(QPen(ChosenColor, 1));
  P.setBrush(ChosenColor);
  P.drawPolygon(
      QPolygonF({T + QPointF(0, -6), T + QPointF(6, 0), T + QPointF(0, 6), T + QPointF(-6, 0)}));
  P.setBrush(Qt::NoBrush);
}

void TThinkingView::PaintPlots(QPainter& P, const QRect& Box) const {
  std::vector<double> Futures, Distinct, Grid, Speed;
  for (const TMoveSample& S : Data.History) {
    Futures.push_back(S.Futures);
    Distinct.push_back(S.Distinct);
    Grid.push_back(S.Grid);
    Speed.push_back(S.Speed);
  }
  const QString Span =
      QStringLiteral("last %1 s").arg(Data.History.size() * TimeStepMs / 1000.0, 0, 'f', 1);
  const int W = Box.width() / 2, H = Box.height() / 2;
  DrawLinePlot(P, QRect(Box.left(), Box.top(), W - 4, H - 4), QStringLiteral("futures per move"),
               {{Futures, Qt::darkBlue}}, Span);
  DrawLinePlot(P, QRect(Box.left() + W, Box.top(), W - 4, H - 4),
               QStringLiteral("distinct end cells"), {{Distinct, Qt::darkMagenta}}, Span);
  DrawLinePlot(P, QRect(Box.left(), Box.top() + H, W - 4, H - 4), QStringLiteral("grid size (px)"),
               {{Grid, Qt::darkGreen}}, Span);
  DrawLinePlot(P, QRect(Box.left() + W, Box.top() + H, W - 4, H - 4),
               QStringLiteral("speed (px/s)"), {{Speed, Qt::darkRed}}, Span);
}
