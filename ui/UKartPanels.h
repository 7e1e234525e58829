#pragma once
// "Chose a kart" and "Kart params": which kart the controls act on, and its engine, steering
// and size.

#include <QGroupBox>

#include "world/UPlatform.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class TColorPanel;

/// The kart list with its colour panel and the "+" and "-" buttons. It only shows and asks:
/// the window adds, removes and chooses karts.
class TKartChoicePanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit TKartChoicePanel(QWidget* Parent = nullptr);

  /// Appends the line "Kart #Number" and selects it; a selection by the program chooses nothing.
  void AppendLine(int Number);
  /// Lines are numbered by position: the last one goes, whichever kart was removed.
  void RemoveLastLine();
  void SelectLine(int Index);
  int SelectedLine() const;
  TColor Color() const;
  void SetColor(TColor Color);

 signals:
  void addClicked();
  void removeClicked();
  /// The user chose a line.
  void kartChosen();
  void colorClicked();

 private:
  TColorPanel* EdColor = nullptr;
  QComboBox* EdKartId = nullptr;
  QPushButton* BtnAddKart = nullptr;
  QPushButton* BtnSubKart = nullptr;
};

/// The current kart's engine power, steering limit and size. Each handler labels its slider
/// and tells the new value, in the model's units, through its signal.
class TKartParamsPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit TKartParamsPanel(QWidget* Parent = nullptr);

  /// Shows the values, rounded to the sliders' positions and held in their ranges.
  void ShowMaxPower(double MaxPower);
  void ShowMaxTurn(double Radians);
  void ShowSize(double Size);

  void EdMaxPowerChange();
  void EdMax_TurnChange();
  void EdSizeChange();

 signals:
  void maxPowerChanged(double MaxPower);
  void maxTurnChanged(double Radians);
  /// The kart is to be resized and the track redrawn, before the label follows.
  void sizeChanged(double Size);

 private:
  QLabel* LbMaxPower = nullptr;
  QSlider* EdMaxPower = nullptr;
  QLabel* LbMax_Turn = nullptr;
  QSlider* EdMax_Turn = nullptr;
  QLabel* LbSize = nullptr;
  QSlider* EdSize = nullptr;
};
