#include "ui/UKartPanels.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "decision/UBase.h"
#include "ui/UColorPanel.h"
#include "ui/UHandler.h"
#include "ui/UPanelParts.h"
#include "ui/USliderUnits.h"
#include "world/URaceSetup.h"

TKartChoicePanel::TKartChoicePanel(QWidget* Parent) : QGroupBox(Parent) {
  QVBoxLayout* Box = SetUpGroup(*this, QStringLiteral("Chose a kart"), QStringLiteral("GroupKart"));
  auto* Line = new QHBoxLayout;
  EdColor = new TColorPanel(QStringLiteral("Color"));
  EdColor->setObjectName(QStringLiteral("EdColor"));
  EdColor->setFixedWidth(44);
  EdKartId = new QComboBox;
  EdKartId->setObjectName(QStringLiteral("EdKartId"));
  BtnAddKart = NewButton(QStringLiteral("+"), QStringLiteral("BtnAddKart"));
  BtnSubKart = NewButton(QStringLiteral("-"), QStringLiteral("BtnSubKart"));
  for (QPushButton* Button : {BtnAddKart, BtnSubKart}) Button->setFixedWidth(28);
  Line->addWidget(EdColor);
  Line->addWidget(EdKartId, 1);
  Line->addWidget(BtnAddKart);
  Line->addWidget(BtnSubKart);
  Box->addLayout(Line);

  connect(EdKartId, &QComboBox::activated, this, &TKartChoicePanel::kartChosen);
  connect(BtnAddKart, &QPushButton::clicked, this, &TKartChoicePanel::addClicked);
  connect(BtnSubKart, &QPushButton::clicked, this, &TKartChoicePanel::removeClicked);
  connect(EdColor, &TColorPanel::clicked, this, &TKartChoicePanel::colorClicked);
}

void TKartChoicePanel::AppendLine(int Number) {
  EdKartId->addItem(QStringLiteral("Kart #%1").arg(Number));
  EdKartId->setCurrentIndex(EdKartId->count() - 1);
}

void TKartChoicePanel::RemoveLastLine() { EdKartId->removeItem(EdKartId->count() - 1); }

void TKartChoicePanel::SelectLine(int Index) { EdKartId->setCurrentIndex(Index); }

int TKartChoicePanel::SelectedLine() const { return EdKartId->currentIndex(); }

TColor TKartChoicePanel::Color() const { return EdColor->Color(); }

void TKartChoicePanel::SetColor(TColor Color) { EdColor->SetColor(Color); }

TKartParamsPanel::TKartParamsPanel(QWidget* Parent) : QGroupBox(Parent) {
  QVBoxLayout* Box =
      SetUpGroup(*this, QStringLiteral("Kart params"), QStringLiteral("GroupKartParams"));
  EdMaxPower = AddSlider(*Box, QStringLiteral("Engine max. power"), QStringLiteral("EdMaxPower"),
                         {1, 25, 10, 1, 2}, LbMaxPower);
  EdMax_Turn = AddSlider(*Box, QStringLiteral("Max. turning (wheels angle)"),
                         QStringLiteral("EdMax_Turn"), {10, 90, 40, 1, 2}, LbMax_Turn);
  EdSize = AddSlider(*Box, QStringLiteral("Kart size"), QStringLiteral("EdSize"), {4, 40, 8, 1, 1},
                     LbSize);

  connect(EdMaxPower, &QSlider::valueChanged, this,
          HANDLER(this, TKartParamsPanel::EdMaxPowerChange));
  connect(EdMax_Turn, &QSlider::valueChanged, this,
          HANDLER(this, TKartParamsPanel::EdMax_TurnChange));
  connect(EdSize, &QSlider::valueChanged, this, HANDLER(this, TKartParamsPanel::EdSizeChange));
}

void TKartParamsPanel::ShowMaxPower(double MaxPower) { EdMaxPower->setValue(RoundEven(MaxPower)); }

void TKartParamsPanel::ShowMaxTurn(double Radians) {
  EdMax_Turn->setValue(TurnRadiansToSlider(Radians));
}

void TKartParamsPanel::ShowSize(double Size) { EdSize->setValue(RoundEven(Size)); }

void TKartParamsPanel::EdMaxPowerChange() {
  LbMaxPower->setText(QString::number(EdMaxPower->value()));
  emit maxPowerChanged(EdMaxPower->value());
}

void TKartParamsPanel::EdMax_TurnChange() {
  // U+00BA, as the label always showed, not a degree sign.
  LbMax_Turn->setText(QString::number(EdMax_Turn->value()) + QChar(0x00BA));
  emit maxTurnChanged(TurnDegreesToRadians(EdMax_Turn->value()));
}

void TKartParamsPanel::EdSizeChange() {
  emit sizeChanged(EdSize->value());
  LbSize->setText(QString::number(EdSize->value()) + QStringLiteral("px"));
}
