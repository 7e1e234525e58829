#pragma once
// "Track params.": the road's friction coefficients, team scoring and collisions.

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

  void EdFrictionChange();
  void EdSideFrictionChange();
  void CBTeamScoreClick();
  void EdCollisionsClick();

 signals:
  void frictionChanged(double Friction);
  void sideFrictionChanged(double SideFriction);
  void teamScoreChanged(bool TeamScore);
  void collisionsChanged(bool Collisions);

 private:
  QLabel* LbFriction = nullptr;
  QSlider* EdFriction = nullptr;
  QLabel* LbSideFriction = nullptr;
  QSlider* EdSideFriction = nullptr;
  QCheckBox* CBTeamScore = nullptr;
  QCheckBox* EdCollisions = nullptr;
};
