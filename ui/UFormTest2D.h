#pragma once
// The main window: the circuit with the karts on it beside the column of control panels.

#include <QMainWindow>
#include <QString>
#include <memory>

#include "ui/UHandler.h"

class QAction;
class QActionGroup;
class QColorDialog;
class QEvent;
class QFileDialog;
class TAppEvents;
class TDebugMemo;
class TImageControl;
class TKart;
class TKartChoicePanel;
class TKartParamsPanel;
class TManualMovePanel;
class TOpenPictureDialog;
class TRaceRunner;
class TStartStopPanel;
class TThinkingPanel;
class TTrack2D;
class TTrackPanel;

/// The one window of the program. Owns the race, and with it the track and every kart.
class TFormTest2D : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFormTest2D(QWidget* Parent = nullptr);
  ~TFormTest2D() override;

  /// The track, its karts, the run loop and the saved frames.
  TRaceRunner& Runner() const { return *FRunner; }

  // Karts.
  void AddKart();
  void BtnAddKartClick();
  void BtnSubKartClick();
  void EdKartIdChange();
  void ResetBtnClick();
  /// Every kart onto the starting grid behind kart #1's start line, paused or running; where
  /// they do not fit, a warning says why and they stay.
  void LineUpOnGridClick();
  void RacePresetClick();
  /// The run loop; an error that ends it releases Run.
  void StartBtnClick();

  // Parameters: the panels show the model's values; their signals write them back.
  void EdDebugChange();
  /// Shows the current kart's and the track's values on the controls, then applies them back.
  void CopyParamsFromKart();
  /// Applies every control to the current kart and the track again.
  void CopyParamsFromScreen();
  /// The grid-size slider follows the current kart's grid size.
  void UpdateRealTimeParams();

  // Circuit, frames, trails and colour.
  void Loadcircuit800x600BMP1Click();
  void SaveimagestofolderClick();
  void MenuCleanTrackClick();
  void EdColorClick();

  bool UpKeyHeld = false;
  bool DownKeyHeld = false;
  bool LeftKeyHeld = false;
  bool RightKeyHeld = false;
  TKart* CurrentKart = nullptr;                              ///< the kart the controls act on
  QString CircuitName = QStringLiteral("built-in circuit");  ///< for error reports

  bool IsRunning() const;
  bool IsSavingFrames() const;

  // The keyboard's ways in, and the program's own items.
  /// Run when paused or stopped, else Pause (Space).
  void RunPauseClick();
  /// The picture takes the keys: the arrows move the chosen kart (Ctrl+K).
  void FocusCircuitClick();
  void AsFastAsPossibleClick();
  void AboutClick();

  /// Whether the road loops through kart #1's start (there is a lap line): racing the lap
  /// direction can be switched on only then. Looked at again when the circuit, kart #1 or its
  /// start changed; RoadChanged after the road was painted on.
  void FollowLapLine(bool RoadChanged = false);
  bool HasLapLine() const { return LapLine.Found; }

 signals:
  /// The track has another circuit: loaded, built in, drawn over or from a scenario.
  void circuitChanged();
  /// The karts stand on the starting grid: the race begins afresh from there.
  void kartsLinedUp();

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void CreateActions();
  void CreateMenus();
  /// File > Quit and the Help menu, last, once every other item is in place.
  void FinishMenus();
  void CreatePanels();
  void CreateDialogs();
  void CreateRace();
  void ConnectPanels();
  void ConnectMenus();
  /// The size and place of the last run's window, or its laid-out size in the desktop's middle.
  void RestoreGeometry();
  void CenterOnDesktop();
  /// Whether a focused control takes Space itself (a button presses, a list opens).
  bool FocusTakesSpace() const;
  /// A frame could not be written: the run is paused and the user told why.
  void FrameFailed(const QString& Message);
  /// A slot that runs the handler, showing any error it raises.
  TTrack2D& Track() const;

  void FormCreate();
  void FormDestroy();
  /// The arrow keys, seen before any control: they set the key flags and go no further.
  void AppEventsMessage(QEvent& Message, bool& Handled);
  /// Shifts and turns the current kart by hand; while not running that is also its new start.
  void MoveCurrentKart(double DX, double DY, double DAngle);

  TImageControl* ImgRoad = nullptr;
  TTrackPanel* TrackPanel = nullptr;
  TKartChoicePanel* KartChoice = nullptr;
  TKartParamsPanel* KartParams = nullptr;
  TThinkingPanel* Thinking = nullptr;
  TManualMovePanel* ManualMoves = nullptr;
  TDebugMemo* DebugMemo = nullptr;
  TStartStopPanel* StartStop = nullptr;
  QAction* Loadcircuit800x600BMP1 = nullptr;
  QAction* Saveimagestofolder = nullptr;
  QActionGroup* DebugLevels = nullptr;
  QAction* MenuDebug0 = nullptr;
  QAction* MenuDebug1 = nullptr;
  QAction* MenuDebug2 = nullptr;
  QAction* MenuCleanTrack = nullptr;
  QAction* RunPause = nullptr;
  QAction* ResetItem = nullptr;
  QAction* AsFastAsPossible = nullptr;
  QAction* FocusCircuit = nullptr;
  QAction* LineUpOnGridItem = nullptr;
  QAction* RacePresetItem = nullptr;
  QAction* Quit = nullptr;
  QAction* About = nullptr;
  TOpenPictureDialog* OpenPictureDialog = nullptr;
  QFileDialog* SaveDialog = nullptr;
  QColorDialog* ColorDialog = nullptr;
  TAppEvents* AppEvents = nullptr;
  std::unique_ptr<TRaceRunner> FRunner;
  /// What the lap line was last looked for on: the clean circuit and kart #1's start mark.
  struct {
    const void* Road = nullptr;
    double X = 0, Y = 0, Angle = 0;
    bool Known = false;
    bool Found = false;
  } LapLine;
};
