#pragma once
// The pieces every panel of the control column is built from, so that all panels look alike.

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QVBoxLayout;

/// Captions and names the group and gives it its tight vertical layout.
QVBoxLayout* SetUpGroup(QGroupBox& Group, const QString& Caption, const QString& Name);

/// Where a slider starts and how far a key or a click on its channel moves it.
struct TSliderRange {
  int Min;
  int Max;
  int LayoutPosition;  ///< replaced by the model's value once a kart is shown
  int LineStep;
  int PageStep;
};

/// A caption with its value label on one line and the slider below it. The value label is
/// named after the slider, "Lb" for its "Ed".
QSlider* AddSlider(QVBoxLayout& Box, const QString& Caption, const QString& Name,
                   const TSliderRange& Range, QLabel*& Value);
QCheckBox* NewCheckBox(const QString& Caption, const QString& Name, bool Checked);
QPushButton* NewButton(const QString& Caption, const QString& Name);

/// The shortest decimal with at most 15 significant digits: 0.015, 0.2, 0.
QString GeneralNumber(double X);
