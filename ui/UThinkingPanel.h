#pragma once
// "Thinking params.": how far the futures reach, the end-point grid and how decisions are made.

#include <QGroupBox>
#include <cstdint>

class QCheckBox;
class QLabel;
class QSlider;

/// The thinking controls. Each handler labels its slider and tells the new value through its
/// signal; the program's own settings run the handlers too.
class TThinkingPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit TThinkingPanel(QWidget* Parent = nullptr);

  void ShowSeconds(int32_t Seconds);
  /// The slider ends at 25 while a kart's grid may grow to 30: a larger grid shows as 25.
  void ShowGridSize(int32_t GridSize);
  void ShowAutoGrid(bool AutoGrid);
  void ShowUseRefined(bool UseRefined);

  void EdSecondsChange();
  void EdRadioChange();
  void EdAutoRadioClick();
  void EdUseRefinedClick();

 signals:
  void secondsChanged(int32_t Seconds);
  void gridSizeChanged(int32_t GridSize);
  void autoGridChanged(bool AutoGrid);
  void useRefinedChanged(bool UseRefined);

 private:
  QLabel* LbSeconds = nullptr;
  QSlider* EdSeconds = nullptr;
  QLabel* LbRadio = nullptr;
  QSlider* EdRadio = nullptr;
  QCheckBox* EdAutoRadio = nullptr;
  QCheckBox* EdUseRefined = nullptr;
};
