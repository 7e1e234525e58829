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

/// Where the karts of a circuit start, and their heading there (pixels, radians).
struct TStartPose {
  double X = 0;
  double Y = 0;
  double Angle = 0;
};

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
  /// The track has another circuit: it brings its own start, the built-in point unless the
  /// karts were moved to its road. Karts that started at the last circuit's start now start at
  /// this one's (they stay where they are). After a load (Offer), a start off the road offers
  /// to move the karts.
  void CircuitChanged(bool Offer);
  /// Where the start is off the road, offers to move the karts.
  void CheckStartPoint();
  /// After Reset: where a kart would stand off the road, offers to move it to the road.
  void CheckKartsOnRoad();
  /// The start of the circuit shown.
  TStartPose CircuitStart() const { return FStart; }

  /// Writes the clean circuit, drawing included, as a 24-bit BMP (atomically).
  void SaveCircuitAs(const QString& Path);
  /// Writes the race as it stands.
  void SaveScenario(const QString& Path);
  /// Replaces circuit, settings and karts by the file's; a file refused changes nothing.
  void OpenScenario(const QString& Path);
  /// Every kart (or only those off the road) to the road point nearest the circuit's start where
  /// it fits, at rest, as its new start; that point becomes the circuit's start. False when the
  /// circuit has no road.
  bool MoveKartsToRoad(bool OnlyOffRoad = false);
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
  /// Shows the circuit on the picture and gives it to the track; the karts stay, with the new
  /// circuit's start.
  void SetCircuit(const QImage& Circuit, const QString& Name);
  /// Asks whether to move the karts to the road, saying Why; true once they were moved.
  bool OfferMoveToRoad(const QString& Why, bool OnlyOffRoad);
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
  TStartPose FStart;                     ///< the start of the circuit shown
};
