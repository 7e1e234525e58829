#pragma once
// The race table: for every kart its colour, laps, lap times, distance, speed, time off the road,
// thinking, whether it drives the wrong way and for how long in all, and its place in the race.

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "world/UPlatform.h"

class QCheckBox;
class QLabel;
class QTableWidget;
class TRaceLog;

/// One line of the table, as shown.
struct TRaceRow {
  TColor Color = 0;
  QString Name;        ///< "Kart #1"
  QStringList Fields;  ///< the columns after the colour and the name
  int32_t Place = 0;   ///< 1 the leader; 0 without a lap line, or before the kart's first move
};

/// The figures of every kart of Log, in its order, with Colors and names by position.
std::vector<TRaceRow> RaceRows(const TRaceLog& Log, const std::vector<TColor>& Colors);
/// The captions of the columns after the colour and the name.
QStringList RaceColumns();

/// The non-modal window with the table; Show replaces its lines. Sorted by place on request
/// (its check box, or a click on the place column's header), the leader first; else in the
/// karts' order.
class TRaceTable : public QWidget {
 public:
  explicit TRaceTable(QWidget* Parent = nullptr);
  void Show(const std::vector<TRaceRow>& Rows, bool HasLapLine);
  QTableWidget* Table() const { return FTable; }
  void SetSortByPlace(bool On);
  bool SortsByPlace() const;

 private:
  /// Fills the grid with the rows last shown, in the order asked for.
  void Fill();

  QTableWidget* FTable = nullptr;
  QLabel* LapLine = nullptr;
  QCheckBox* SortByPlace = nullptr;
  std::vector<TRaceRow> Shown;
};
