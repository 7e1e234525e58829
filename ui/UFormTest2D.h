#pragma once
// The main window: the circuit with the karts on it, the run loop, kart management and the
// parameter controls.

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>

#include "ui/UApplication.h"
#include "world/UPlatform.h"
#include "world/URaceSetup.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QColorDialog;
class QFileDialog;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QVBoxLayout;
class TAppEvents;
class TColorPanel;
class TDebugMemo;
class TImageControl;
class TKart;
class TOpenPictureDialog;
class TTrack2D;

/// The one window of the program. Owns the track and every kart on it.
class TFormTest2D : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFormTest2D(QWidget* Parent = nullptr);
  ~TFormTest2D() override;

  // Kart management and the run loop.
  void AddKart();
  void BtnAddKartClick();
  void BtnSubKartClick();
  void EdKartIdChange();
  void StartBtnClick();
  void ResetBtnClick();

  // Parameter controls: each handler writes its control's value into the model.
  void EdFrictionChange();
  void EdSideFrictionChange();
  void EdMaxPowerChange();
  void EdMax_TurnChange();
  void EdSizeChange();
  void EdSecondsChange();
  void EdRadioChange();
  void CBTeamScoreClick();
  void EdCollisionsClick();
  void EdAutoRadioClick();
  void EdUseRefinedClick();
  void EdDebugChange();
  /// Shows the current kart's and the track's values on the controls, then applies them back.
  void CopyParamsFromKart();
  /// Applies every control to the current kart and the track again.
  void CopyParamsFromScreen();
  /// The grid-size slider follows the current kart's grid size.
  void UpdateRealTimeParams();

  // Circuit, frames, trails, manual moves and colour.
  void Loadcircuit800x600BMP1Click();
  void SaveimagestofolderClick();
  void MenuCleanTrackClick();
  void SpeedButton1Click() { MoveCurrentKart(-5, 0, 0); }
  void SpeedButton2Click() { MoveCurrentKart(0, -5, 0); }
  void SpeedButton3Click() { MoveCurrentKart(5, 0, 0); }
  void SpeedButton4Click() { MoveCurrentKart(0, 5, 0); }
  void SpeedButton5Click() { MoveCurrentKart(0, 0, TurnStep); }
  void SpeedButton6Click() { MoveCurrentKart(0, 0, -TurnStep); }
  void EdColorClick();

  // The program's state, readable by tests and tools.
  int32_t FrameNumber = 1;  ///< number of the next saved frame
  bool UpKeyHeld = false;
  bool DownKeyHeld = false;
  bool LeftKeyHeld = false;
  bool RightKeyHeld = false;
  /// Shared only with a move under way, which may outlive a window deleted during it.
  std::shared_ptr<TTrack2D> Track;
  TKartList Karts;               ///< in the order added, as the track lists them
  TKart* CurrentKart = nullptr;  ///< one of Karts
  int32_t TimeBudgetMs = 100;

  // The controls, named as the user knows them.
  TImageControl* ImgRoad = nullptr;
  QGroupBox* GroupTrack = nullptr;
  QLabel* LbFriction = nullptr;
  QSlider* EdFriction = nullptr;
  QLabel* LbSideFriction = nullptr;
  QSlider* EdSideFriction = nullptr;
  QCheckBox* CBTeamScore = nullptr;
  QCheckBox* EdCollisions = nullptr;
  QGroupBox* GroupKart = nullptr;
  TColorPanel* EdColor = nullptr;
  QComboBox* EdKartId = nullptr;
  QPushButton* BtnAddKart = nullptr;
  QPushButton* BtnSubKart = nullptr;
  QGroupBox* GroupKartParams = nullptr;
  QLabel* LbMaxPower = nullptr;
  QSlider* EdMaxPower = nullptr;
  QLabel* LbMax_Turn = nullptr;
  QSlider* EdMax_Turn = nullptr;
  QLabel* LbSize = nullptr;
  QSlider* EdSize = nullptr;
  QGroupBox* GroupThinking = nullptr;
  QLabel* LbSeconds = nullptr;
  QSlider* EdSeconds = nullptr;
  QLabel* LbRadio = nullptr;
  QSlider* EdRadio = nullptr;
  QCheckBox* EdAutoRadio = nullptr;
  QCheckBox* EdUseRefined = nullptr;
  QGroupBox* GroupMove = nullptr;
  QPushButton* SpeedButton1 = nullptr;
  QPushButton* SpeedButton2 = nullptr;
  QPushButton* SpeedButton3 = nullptr;
  QPushButton* SpeedButton4 = nullptr;
  QPushButton* SpeedButton5 = nullptr;
  QPushButton* SpeedButton6 = nullptr;
  TDebugMemo* DebugMemo = nullptr;
  QGroupBox* GroupStartStop = nullptr;
  QPushButton* StartBtn = nullptr;
  QPushButton* PauseBtn = nullptr;
  QButtonGroup* StartStopGroup = nullptr;
  QPushButton* BtnReset = nullptr;
  QAction* Loadcircuit800x600BMP1 = nullptr;
  QAction* Saveimagestofolder = nullptr;
  QActionGroup* DebugLevels = nullptr;
  QAction* MenuDebug0 = nullptr;
  QAction* MenuDebug1 = nullptr;
  QAction* MenuDebug2 = nullptr;
  QAction* MenuCleanTrack = nullptr;
  TOpenPictureDialog* OpenPictureDialog = nullptr;
  QFileDialog* SaveDialog = nullptr;
  QColorDialog* ColorDialog = nullptr;
  /// The file name confirmed in SaveDialog: the base of every saved frame's name.
  QString SaveBaseName;
  /// The file the circuit was last loaded from, for error reports.
  QString CircuitName = QStringLiteral("built-in circuit");

 signals:
  /// One move of the run loop is complete, frame included.
  void MoveFinished();

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void CreateMenu();
  QWidget* CreateControlColumn(QWidget* Parent);
  QGroupBox* CreateTrackParams();
  QGroupBox* CreateKartChoice();
  QGroupBox* CreateKartParams();
  QGroupBox* CreateThinkingParams();
  QGroupBox* CreateManualMoves();
  QGroupBox* CreateStartStop();
  /// A caption with its value label on one line and the slider below it.
  QSlider* AddSlider(QVBoxLayout& Box, const QString& Caption, const QString& Name, QLabel*& Value,
                     int Min, int Max, int LayoutPosition, int LineStep, int PageStep);
  void CreateDialogs();
  void ConnectControls();
  /// A slot that runs the handler; an error it raises is reported with the control and signal
  /// that ran it.
  auto Handler(void (TFormTest2D::*Method)()) {
    return [this, Method] {
      RunHandler([this, Method] { (this->*Method)(); }, SignalWhere(sender(), senderSignalIndex()));
    };
  }
  void CenterOnDesktop();

  void FormCreate();
  void FormDestroy();
  /// The arrow keys, seen before any control: they set the key flags and go no further.
  void AppEventsMessage(QEvent& Message, bool& Handled);
  /// Lets the application handle what is pending, with the picture's changes shown first.
  void ProcessMessages();
  /// Writes the picture as the next numbered frame; FrameNumber moves on only once it is written.
  void SaveFrame();
  /// Shifts and turns the current kart by hand; while not running that is also its new start.
  void MoveCurrentKart(double DX, double DY, double DAngle);
  static constexpr double TurnStep = 0.26179938779914946;  ///< pi / 12

  TAppEvents* AppEvents = nullptr;
  std::unique_ptr<TMessagePump> MessagePump;
  QString ProgramFolder;
  /// Set once a close was asked for: the run loop ends and touches nothing more.
  bool Closing = false;
};
