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
  Box->addWidget(CBTeamScore);
  Box->addWidget(EdCollisions);

  connect(EdFriction, &QSlider::valueChanged, this, HANDLER(this, TTrackPanel::EdFrictionChange));
  connect(EdSideFriction, &QSlider::valueChanged, this,
          HANDLER(this, TTrackPanel::EdSideFrictionChange));
  connect(CBTeamScore, &QCheckBox::toggled, this, HANDLER(this, TTrackPanel::CBTeamScoreClick));
  connect(EdCollisions, &QCheckBox::toggled, this, HANDLER(this, TTrackPanel::EdCollisionsClick));
}

void TTrackPanel::ShowFriction(double Friction) {
  EdFriction->setValue(FrictionToSlider(Friction));
}

void TTrackPanel::ShowSideFriction(double SideFriction) {
  EdSideFriction->setValue(SideFrictionToSlider(SideFriction));
}

void TTrackPanel::ShowTeamScore(bool TeamScore) { CBTeamScore->setChecked(TeamScore); }

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
