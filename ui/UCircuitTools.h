#pragma once
// What the window offers around its circuit: the built-in circuit back, drawing on the circuit,
// saving it, scenarios kept and opened, the view's zoom and scrolling, and karts moved onto the
// road of a circuit where their start is off it.

#include <QObject>
#include <QString>

#include "ui/UCircuitPainter.h"

class QAction;
class QActionGroup;
class QMenu;
class TFormTest2D;
class TImageControl;
struct TScenario;

class TCircuitTools : public QObject {
  Q_OBJECT
 public:
  /// Adds its items to the window's File menu and its own menus; lives as the window's child.
  TCircuitTools(TFormTest2D& AWindow, TImageControl& AImage);

  // Handlers of the menu items; those with a file ask for it first.
  void BuiltInCircuitClick();
  void SaveCircuitAsClick();
  void OpenScenarioClick();
  void SaveScenarioClick();
  void UndoStrokeClick();
  /// After another circuit is loaded: where the start is off the road, offers to move the karts.
  void CheckStartPoint();

  /// Writes the clean circuit, drawing included, as a 24-bit BMP (atomically).
  void SaveCircuitAs(const QString& Path);
  /// Writes the race as it stands.
  void SaveScenario(const QString& Path);
  /// Replaces circuit, settings and karts by the file's; a file refused changes nothing.
  void OpenScenario(const QString& Path);
  /// Every kart to the road point nearest the start where it fits, at rest, as its new start.
  /// False when the circuit has no road.
  bool MoveKartsToRoad();
  /// 0 fits, 1 to 4 magnify; follow keeps the chosen kart in the middle after every move.
  void SetZoom(int Zoom);
  void SetFollow(bool On);

  TCircuitPainter& Painter() { return FPainter; }

 protected:
  /// The mouse on the picture paints while a brush is chosen.
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void CreateFileItems();
  void CreateDrawMenu();
  void CreateZoomMenu();
  QAction* Item(QMenu& Menu, const QString& Caption, const QString& Name);
  /// A non-native file dialog; an empty name when cancelled.
  QString AskFile(const QString& Title, bool Save, const QString& Filter);
  /// Shows the circuit on the picture and gives it to the track; the karts stay.
  void SetCircuit(const QImage& Circuit, const QString& Name);
  /// Settles the window's kart list, controls and menus on the scenario's karts and settings.
  void ShowScenario(const TScenario& Scenario);
  void FollowChosenKart();
  /// Draws the karts again over a stroke unless the run loop does so at its next move.
  void RedrawWhenIdle();

  TFormTest2D& Window;
  TImageControl& Image;
  TCircuitPainter FPainter;
  QAction* FollowKart = nullptr;
  const void* CheckedCircuit = nullptr;  ///< the clean circuit whose start was looked at last
};
