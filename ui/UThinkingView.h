#pragma once
// The thinking of the chosen kart, as pictures: its options as bars, the decision plane with the
// averaged and the refined decision, and the last minute of its thinking as small line plots.

#include <QColor>
#include <QString>
#include <QWidget>
#include <deque>
#include <vector>

#include "world/URaceLog.h"

class QBarCategoryAxis;
class QBarSet;
class QChart;
class QChartView;
class QScatterSeries;
class TKart;

/// What the view shows of one kart's last decision: copied out of the model, so that painting
/// never reads a kart that may be gone.
struct TThinkingSnapshot {
  struct TOption {
    QString Text;  ///< "(5, 0) #13": its decision and future count
    double Share = 0;
    double Turn = 0, Power = 0;  ///< its initial decision
  };
  QString Kart;                        ///< "Kart #2"; empty when there is none
  QColor Color;                        ///< the kart's
  std::vector<TOption> Options;        ///< sorted by decision: turn, then power
  int Chosen = -1;                     ///< the option nearest the real decision
  bool Decided = false;                ///< the averaged decision is known
  double AvgTurn = 0, AvgPower = 0;    ///< before refinement
  double RealTurn = 0, RealPower = 0;  ///< the decision taken
  double MinTurn = -1, MaxTurn = 1, MinPower = -1, MaxPower = 1;  ///< bounds of the decisions
  std::deque<TMoveSample> History;                                ///< the latest moves
};

/// Reads Kart's last decision and, when there is one, its recorded moves.
TThinkingSnapshot TakeSnapshot(const TKart& Kart, int Number, const TKartRecord* Record);

/// The non-modal window of the thinking, in charts: the options' shares as bars, the decision
/// plane, and the last minute of the kart's futures, end cells, grid and speed. Show replaces
/// what it shows.
class TThinkingView : public QWidget {
 public:
  explicit TThinkingView(QWidget* Parent = nullptr);
  void Show(TThinkingSnapshot Snapshot);
  const TThinkingSnapshot& Shown() const { return Data; }

  /// The charts, in reading order: options, decision plane, then the four histories.
  std::vector<QChart*> Charts() const;

 private:
  void ShowOptions();
  void ShowPlane();
  void ShowHistory();

  TThinkingSnapshot Data;
  QChartView* Options = nullptr;
  QBarSet* Shares = nullptr;
  QBarCategoryAxis* OptionNames = nullptr;
  QChartView* Plane = nullptr;
  QScatterSeries* OptionPoints = nullptr;
  QScatterSeries* Averaged = nullptr;
  QScatterSeries* Taken = nullptr;
  std::vector<QChartView*> History;
};
