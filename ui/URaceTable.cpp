#include "ui/URaceTable.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "io/UPicture.h"
#include "world/URaceLog.h"
#include "world/URaceSetup.h"

namespace {
QString Seconds(double S) { return S > 0 ? QString::number(S, 'f', 1) : QStringLiteral("-"); }
}  // namespace

QStringList RaceColumns() {
  return {QStringLiteral("laps"),
          QStringLiteral("last lap (s)"),
          QStringLiteral("best lap (s)"),
          QStringLiteral("distance (px)"),
          QStringLiteral("mean speed (px/s)"),
          QStringLiteral("off road"),
          QStringLiteral("futures/move"),
          QStringLiteral("wrong way"),
          QStringLiteral("wrong way (s)"),
          QStringLiteral("place")};
}

std::vector<TRaceRow> RaceRows(const TRaceLog& Log, const std::vector<TColor>& Colors) {
  std::vector<TRaceRow> Rows;
  const double Step = TimeStepMs / 1000.0;
  // Without a lap line nobody is ahead of anybody; a kart that has not moved yet has not been
  // placed on the road.
  std::vector<int32_t> Places =
      Log.Laps().HasLine() ? Log.Places() : std::vector<int32_t>(Log.Records().size(), 0);
  for (size_t I = 0; I < Log.Records().size(); ++I) {
    const TKartRecord& R = Log.Records()[I];
    if (R.Moves == 0) Places[I] = 0;
    TRaceRow Row;
    Row.Color = I < Colors.size() ? Colors[I] : clBlack;
    Row.Name = QStringLiteral("Kart #%1").arg(I + 1);
    Row.Fields = {QString::number(R.Laps),
                  Seconds(R.LastLap),
                  Seconds(R.BestLap),
                  QString::number(R.Distance, 'f', 1),
                  QString::number(R.MeanSpeed(Step), 'f', 2),
                  QStringLiteral("%1 %").arg(100 * R.OffRoadShare(), 0, 'f', 1),
                  QString::number(R.FuturesPerMove(), 'f', 1),
                  R.WrongWay ? QStringLiteral("WRONG WAY") : QString(),
                  QString::number(R.WrongWaySeconds, 'f', 1),
                  Places[I] > 0 ? QString::number(Places[I]) : QStringLiteral("-")};
    Row.Place = Places[I];
    Rows.push_back(Row);
  }
  return Rows;
}

TRaceTable::TRaceTable(QWidget* Parent) : QWidget(Parent, Qt::Window) {
  setObjectName(QStringLiteral("RaceTable"));
  setWindowTitle(QStringLiteral("Race table"));
  auto* Box = new QVBoxLayout(this);
  LapLine = new QLabel;
  LapLine->setObjectName(QStringLiteral("LbLapLine"));
  Box->addWidget(LapLine);
  FTable = new QTableWidget(0, 2 + RaceColumns().size());
  FTable->setObjectName(QStringLiteral("RaceTableGrid"));
  FTable->setToolTip(QStringLiteral(
      "Every kart since the last start or reset. Times in simulated seconds (a "
      "move is 0.1 s); a lap counts when the kart crosses the start line in the "
      "start direction after going round; off road: share of moves ending off the "
      "road; futures/move: futures imagined per move; wrong way (s): simulated seconds driven "
      "backwards round the road in all; place: 1 leads, by laps and then how far "
      "round the road. A click on the place header sorts by place."));
  FTable->setHorizontalHeaderLabels(QStringList{QStringLiteral("colour"), QStringLiteral("kart")} +
                                    RaceColumns());
  FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FTable->verticalHeader()->hide();
  FTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  SortByPlace = new QCheckBox(QStringLiteral("&Sort by place"));
  SortByPlace->setObjectName(QStringLiteral("CBSortByPlace"));
  SortByPlace->setToolTip(
      QStringLiteral("Lists the leader first and keeps the list in race order as the karts "
                     "move; unchecked, the karts stay in their own order."));
  Box->addWidget(SortByPlace);
  Box->addWidget(FTable);
  connect(SortByPlace, &QCheckBox::toggled, this, [this] { Fill(); });
  const int PlaceColumn = FTable->columnCount() - 1;
  connect(FTable->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this, PlaceColumn](int Column) {
            if (Column == PlaceColumn) SortByPlace->toggle();
          });
  resize(1000, 260);
}

void TRaceTable::SetSortByPlace(bool On) { SortByPlace->setChecked(On); }

bool TRaceTable::SortsByPlace() const { return SortByPlace->isChecked(); }

void TRaceTable::Show(const std::vector<TRaceRow>& Rows, bool HasLapLine) {
  LapLine->setText(HasLapLine ? QStringLiteral("Laps are counted at the start line.")
                              : QStringLiteral("no lap line: the road does not loop through the "
                                               "start, so no laps are counted."));
  Shown = Rows;
  Fill();
}

void TRaceTable::Fill() {
  std::vector<TRaceRow> Rows = Shown;
  // Equal places keep the karts' order; karts without a place go last.
  if (SortByPlace->isChecked())
    std::stable_sort(Rows.begin(), Rows.end(), [](const TRaceRow& A, const TRaceRow& B) {
      return (A.Place > 0 ? A.Place : INT32_MAX) < (B.Place > 0 ? B.Place : INT32_MAX);
    });
  FTable->setRowCount(static_cast<int>(Rows.size()));
  for (int R = 0; R < static_cast<int>(Rows.size()); ++R) {
    const auto Cell = [&](int C) {
      QTableWidgetItem* Item = FTable->item(R, C);
      if (!Item) FTable->setItem(R, C, Item = new QTableWidgetItem);
      return Item;
    };
    Cell(0)->setBackground(TQtPicture::ToQColor(Rows[R].Color));
    Cell(1)->setText(Rows[R].Name);
    for (int C = 0; C < Rows[R].Fields.size(); ++C) {
      Cell(2 + C)->setText(Rows[R].Fields[C]);
      Cell(2 + C)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
  }
}
