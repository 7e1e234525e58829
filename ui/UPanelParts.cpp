#include "ui/UPanelParts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

QVBoxLayout* SetUpGroup(QGroupBox& Group, const QString& Caption, const QString& Name) {
  Group.setTitle(Caption);
  Group.setObjectName(Name);
  auto* Box = new QVBoxLayout(&Group);
  Box->setContentsMargins(6, 2, 6, 4);
  Box->setSpacing(0);
  return Box;
}

QSlider* AddSlider(QVBoxLayout& Box, const QString& Caption, const QString& Name,
                   const TSliderRange& Range, QLabel*& Value) {
  Box.addWidget(new QLabel(Caption));
  auto* Line = new QHBoxLayout;
  auto* Slider = new QSlider(Qt::Horizontal);
  Slider->setObjectName(Name);
  Slider->setRange(Range.Min, Range.Max);
  Slider->setValue(Range.LayoutPosition);
  Slider->setSingleStep(Range.LineStep);
  Slider->setPageStep(Range.PageStep);
  Line->addWidget(Slider, 1);
  Value = new QLabel;
  Value->setObjectName(QStringLiteral("Lb") + Name.mid(2));
  Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Value->setFixedWidth(40);
  Line->addWidget(Value);
  Box.addLayout(Line);
  return Slider;
}

QCheckBox* NewCheckBox(const QString& Caption, const QString& Name, bool Checked) {
  auto* Check = new QCheckBox(Caption);
  Check->setObjectName(Name);
  Check->setChecked(Checked);
  return Check;
}

QPushButton* NewButton(const QString& Caption, const QString& Name) {
  auto* Button = new QPushButton(Caption);
  Button->setObjectName(Name);
  return Button;
}

QString GeneralNumber(double X) { return QString::number(X, 'g', 15); }
