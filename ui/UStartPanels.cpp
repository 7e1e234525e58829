#include "ui/UStartPanels.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UHandler.h"
#include "ui/UPanelParts.h"

namespace {

/// A toggle button that a click presses down but never releases: its partner does.
class TLatchButton : public QPushButton {
 public:
  explicit TLatchButton(const QString& Caption) : QPushButton(Caption) { setCheckable(true); }

 protected:
  void nextCheckState() override { setChecked(true); }
};

}  // namespace

TManualMovePanel::TManualMovePanel(QWidget* Parent) : QGroupBox(Parent) {
  QVBoxLayout* Box = SetUpGroup(*this, QStringLiteral("Move and rotate kart manually"),
                                QStringLiteral("GroupMove"));
  SpeedButton1 = NewButton(QStringLiteral("<"), QStringLiteral("SpeedButton1"));
  SpeedButton2 = NewButton(QStringLiteral("^"), QStringLiteral("SpeedButton2"));
  SpeedButton3 = NewButton(QStringLiteral(">"), QStringLiteral("SpeedButton3"));
  SpeedButton4 = NewButton(QStringLiteral("v"), QStringLiteral("SpeedButton4"));
  SpeedButton6 = NewButton(QStringLiteral("Turn left"), QStringLiteral("SpeedButton6"));
  SpeedButton5 = NewButton(QStringLiteral("Turn right"), QStringLiteral("SpeedButton5"));
  // The four shifts as a cross, the two turns beside it.
  auto* Line = new QHBoxLayout;
  auto* Cross = new QGridLayout;
  Cross->setSpacing(0);
  for (QPushButton* Button : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
    Button->setFixedSize(24, 20);
  Cross->addWidget(SpeedButton2, 0, 1);
  Cross->addWidget(SpeedButton1, 1, 0);
  Cross->addWidget(SpeedButton3, 1, 2);
  Cross->addWidget(SpeedButton4, 2, 1);
  auto* Turns = new QVBoxLayout;
  Turns->addWidget(SpeedButton6);
  Turns->addWidget(SpeedButton5);
  Line->addLayout(Cross);
  Line->addSpacing(16);
  Line->addLayout(Turns, 1);
  Box->addLayout(Line);

  connect(SpeedButton1, &QPushButton::clicked, this,
          HANDLER(this, TManualMovePanel::SpeedButton1Click));
  connect(SpeedButton2, &QPushButton::clicked, this,
          HANDLER(this, TManualMovePanel::SpeedButton2Click));
  connect(SpeedButton3, &QPushButton::clicked, this,
          HANDLER(this, TManualMovePanel::SpeedButton3Click));
  connect(SpeedButton4, &QPushButton::clicked, this,
          HANDLER(this, TManualMovePanel::SpeedButton4Click));
  connect(SpeedButton5, &QPushButton::clicked, this,
          HANDLER(this, TManualMovePanel::SpeedButton5Click));
  connect(SpeedButton6, &QPushButton::clicked, this,
          HANDLER(this, TManualMovePanel::SpeedButton6Click));
}

void TManualMovePanel::Press(int Button) {
  switch (Button) {
    case 1:
      return SpeedButton1Click();
    case 2:
      return SpeedButton2Click();
    case 3:
      return SpeedButton3Click();
    case 4:
      return SpeedButton4Click();
    case 5:
      return SpeedButton5Click();
    case 6:
      return SpeedButton6Click();
    default:
      return;
  }
}

TStartStopPanel::TStartStopPanel(QWidget* Parent) : QGroupBox(Parent) {
  QVBoxLayout* Box =
      SetUpGroup(*this, QStringLiteral("Start/Stop sim."), QStringLiteral("GroupStartStop"));
  StartBtn = new TLatchButton(QStringLiteral("Run"));
  PauseBtn = new TLatchButton(QStringLiteral("Pause"));
  StartBtn->setObjectName(QStringLiteral("StartBtn"));
  PauseBtn->setObjectName(QStringLiteral("PauseBtn"));
  BtnReset = NewButton(QStringLiteral("Reset"), QStringLiteral("BtnReset"));
  // Pressing one releases the other; once one is down, one of them stays down. Not a Qt button
  // group: an exclusive group lets Tab reach only one of its buttons, so that after Pause no
  // key led back to Run.
  connect(StartBtn, &QPushButton::toggled, PauseBtn, [this](bool Down) {
    if (Down) PauseBtn->setChecked(false);
  });
  connect(PauseBtn, &QPushButton::toggled, StartBtn, [this](bool Down) {
    if (Down) StartBtn->setChecked(false);
  });
  auto* Line = new QHBoxLayout;
  Line->addWidget(StartBtn);
  Line->addWidget(PauseBtn);
  Line->addWidget(BtnReset);
  Box->addLayout(Line);

  connect(StartBtn, &QPushButton::clicked, this, &TStartStopPanel::runClicked);
  connect(BtnReset, &QPushButton::clicked, this, &TStartStopPanel::resetClicked);
}

bool TStartStopPanel::IsRunning() const { return StartBtn->isChecked(); }

void TStartStopPanel::Pause() { PauseBtn->setChecked(true); }

void TStartStopPanel::Run() { StartBtn->click(); }

void TStartStopPanel::Reset() { BtnReset->click(); }

void TStartStopPanel::FocusRun() { StartBtn->setFocus(Qt::OtherFocusReason); }
