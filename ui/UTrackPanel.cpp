#include "ui/UTrackPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/UHandler.h"
#include "ui/UPanelParts.h"
#include "ui/USliderUnits.h"

TTrackPanel::TTrackPanel(QWidget* Parent) : QGroupBox(Parent) {
  QVBoxLayout* Box =
      SetUpGroup(*this, QStringLiteral("Track params."), QStringLiteral("GroupTrack"));
  EdFriction = AddSlider(*Box, QStringLiteral("Track friction coef."), QStringLiteral("EdFriction"),
                         {1, 300, 20, 1, 2}, LbFriction);
  EdSideFriction = AddSlider(*Box, QStringLiteral("Slide friction coeficient"),
                             QStringLiteral("EdSideFriction"), {0, 100, 50, 1, 2}, LbSideFriction);
  CBTeamScore = NewCheckBox(QStringLiteral("Think as a team, not individuals"),
                            QStringLiteral("CBTeamScore"), false);
  EdCollisions =
      NewCheckBox(QStringLiteral("Detect collisions"), QStringLiteral("EdCollisions"), true);
  CBRaceDirection = NewCheckBox(QStringLiteral("Race the lap direction"),
                                QStringLiteral("CBRaceDirection"), false);
  Box->addWidget(CBTeamScore);
  Box->addWidget(EdCollisions);
  Box->addWidget(CBRaceDirection);
  SetLapLine(true);

  connect(EdFriction, &QSlider::valueChanged, this, HANDLER(this, TTrackPanel::EdFrictionChange));
  connect(EdSideFriction, &QSlider::valueChanged, this,
          HANDLER(this, TTrackPanel::EdSideFrictionChange));
  connect(CBTeamScore, &QCheckBox::toggled, this, HANDLER(this, TTrackPanel::CBTeamScoreClick));
  connect(EdCollisions, &QCheckBox::toggled, this, HANDLER(this, TTrackPanel::EdCollisionsClick));
  connect(CBRaceDirection, &QCheckBox::toggled, this,
          HANDLER(this, TTrackPanel::CBRaceDirectionClick));
}

void TTrackPanel::ShowFriction(double Friction) {
  EdFriction->setValue(FrictionToSlider(Friction));
}

void TTrackPanel::ShowSideFriction(double SideFriction) {
  EdSideFriction->setValue(SideFrictionToSlider(SideFriction));
}

void TTrackPanel::ShowTeamScore(bool TeamScore) { CBTeamScore->setChecked(TeamScore); }

void TTrackPanel::ShowRaceDirection(bool RaceDirection) {
  CBRaceDirection->setChecked(RaceDirection);
}

void TTrackPanel::SetLapLine(bool HasLapLine) {
  CBRaceDirection->setEnabled(HasLapLine);
  CBRaceDirection->setToolTip(
      HasLapLine
          ? QStringLiteral("Every future counts how far it gets round the road in the lap "
                           "direction (the way kart #1 starts over the start line) instead of "
                           "how far it drives: a future that turns back weighs less than one "
                           "that stands still, so the karts race the same way round. Every kart.")
          : QStringLiteral("Not on this circuit: the road does not loop through kart #1's start, "
                           "so there is no lap line and no lap direction to race; the setting "
                           "stays as it is for a circuit that has one."));
}

void TTrackPanel::EdFrictionChange() {
  const double Value = FrictionFromSlider(EdFriction->value());
  LbFriction->setText(GeneralNumber(Value));
  emit frictionChanged(Value);
}

void TTrackPanel::EdSideFrictionChange() {
  const double Value = SideFrictionFromSlider(EdSideFriction->value());
  LbSideFriction->setText(GeneralNumber(Value));
  emit sideFrictionChanged(Value);
}

void TTrackPanel::CBTeamScoreClick() { emit teamScoreChanged(CBTeamScore->isChecked()); }

void TTrackPanel::EdCollisionsClick() { emit collisionsChanged(EdCollisions->isChecked()); }

void TTrackPanel::CBRaceDirectionClick() {
  emit raceDirectionChanged(CBRaceDirection->isChecked());
}
