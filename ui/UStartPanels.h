#pragma once
// "Move and rotate kart manually" and "Start/Stop sim.": the buttons that move the current kart
// by hand and the ones that run, pause and reset the race.

#include <QGroupBox>

class QPushButton;

/// Six buttons, each asking for one fixed shift or turn of the current kart.
class TManualMovePanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit TManualMovePanel(QWidget* Parent = nullptr);

  void SpeedButton1Click() { emit moveAsked(-5, 0, 0); }
  void SpeedButton2Click() { emit moveAsked(0, -5, 0); }
  void SpeedButton3Click() { emit moveAsked(5, 0, 0); }
  void SpeedButton4Click() { emit moveAsked(0, 5, 0); }
  void SpeedButton5Click() { emit moveAsked(0, 0, TurnStep); }
  void SpeedButton6Click() { emit moveAsked(0, 0, -TurnStep); }
  /// As a click on SpeedButton<Button> (1 to 6); another number does nothing.
  void Press(int Button);

 signals:
  /// Pixels to the right and down, radians clockwise on the screen.
  void moveAsked(double DX, double DY, double DAngle);

 private:
  static constexpr double TurnStep = 0.26179938779914946;  ///< pi / 12
  QPushButton* SpeedButton1 = nullptr;
  QPushButton* SpeedButton2 = nullptr;
  QPushButton* SpeedButton3 = nullptr;
  QPushButton* SpeedButton4 = nullptr;
  QPushButton* SpeedButton5 = nullptr;
  QPushButton* SpeedButton6 = nullptr;
};

/// Run and Pause, an exclusive toggle pair, and Reset.
class TStartStopPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit TStartStopPanel(QWidget* Parent = nullptr);

  /// Whether Run is down.
  bool IsRunning() const;
  /// Presses Pause, which releases Run.
  void Pause();
  /// Presses Run, as a click does: the run loop runs until Pause.
  void Run();
  /// Presses Reset.
  void Reset();
  /// Gives Run the keyboard focus.
  void FocusRun();
  QPushButton& PauseButton() const { return *PauseBtn; }

 signals:
  void runClicked();
  void resetClicked();

 private:
  QPushButton* StartBtn = nullptr;
  QPushButton* PauseBtn = nullptr;
  QPushButton* BtnReset = nullptr;
};
