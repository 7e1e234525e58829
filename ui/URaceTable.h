#pragma once
// The race table: for every kart its colour, laps, lap times, distance, speed, time off the road,
// thinking and whether it drives the wrong way.

#include <QStringList>
#include <QWidget>
#include <vector>

#include "world/UPlatform.h"

class QLabel;
class QTableWidget;
class TRaceLog;

/// One line of the table, as shown.
struct TRaceRow {
  TColor Color = 0;
  QString Name;        ///< "Kart #1"
  QStringList Fields;  ///< the columns after the colour and the name
};

/// The figures of every kart of Log, in its order, with Colors and names by position.
std::vector<TRaceRow> RaceRows(const TRaceLog& Log, const std::vector<TColor>& Colors);
/// The captions of the columns after the colour and the name.
QStringList RaceColumns();

/// The non-modal window with the table; Show replaces its lines.
class TRaceTable : public QWidget {
 public:
  explicit TRaceTable(QWidget* Parent = nullptr);
  void Show(const std::vector<TRaceRow>& Rows, bool HasLapLine);
  QTableWidget* Table() const { return FTable; }

 private:
  QTableWidget* FTable = nullptr;
  QLabel* LapLine = nullptr;
};
