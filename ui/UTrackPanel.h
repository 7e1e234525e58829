#pragma once
// "Track params.": the road's friction coefficients, team scoring, collisions and racing the lap
// direction.

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QSlider;

/// The track's controls. Each handler labels its slider and tells the new value, in the
/// model's units, through its signal; the program's own settings run the handlers too.
class TTrackPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit TTrackPanel(QWidget* Parent = nullptr);

  /// Shows the values, snapped to the sliders' grids and ranges.
  void ShowFriction(double Friction);
  void ShowSideFriction(double SideFriction);
  void ShowTeamScore(bool TeamScore);
  void ShowRaceDirection(bool RaceDirection);
  /// Racing the lap direction needs a lap line through kart #1's start: without one the box
  /// cannot be switched on, and its tooltip says why. It keeps its state either way.
  void SetLapLine(bool HasLapLine);

  void EdFrictionChange();
  void EdSideFrictionChange();
  void CBTeamScoreClick();
  void EdCollisionsClick();
  void CBRaceDirectionClick();

 signals:
  void frictionChanged(double Friction);
  void sideFrictionChanged(double SideFriction);
  void teamScoreChanged(bool TeamScore);
  void collisionsChanged(bool Collisions);
  void raceDirectionChanged(bool RaceDirection);

 private:
  QLabel* LbFriction = nullptr;
  QSlider* EdFriction = nullptr;
  QLabel* LbSideFriction = nullptr;
  QSlider* EdSideFriction = nullptr;
  QCheckBox* CBTeamScore = nullptr;
  QCheckBox* EdCollisions = nullptr;
  QCheckBox* CBRaceDirection = nullptr;
};
