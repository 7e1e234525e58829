#include "ui/UThinkingPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/UHandler.h"
#include "ui/UPanelParts.h"

TThinkingPanel::TThinkingPanel(QWidget* Parent) : QGroupBox(Parent) {
  QVBoxLayout* Box =
      SetUpGroup(*this, QStringLiteral("Thinking params."), QStringLiteral("GroupThinking"));
  EdSeconds = AddSlider(*Box, QStringLiteral("Seconds in the future to simulate"),
                        QStringLiteral("EdSeconds"), {1, 20, 10, 1, 2}, LbSeconds);
  EdRadio = AddSlider(*Box, QStringLiteral("End points grid size"), QStringLiteral("EdRadio"),
                      {5, 25, 15, 2, 2}, LbRadio);
  EdAutoRadio =
      NewCheckBox(QStringLiteral("Auto adjust grid size."), QStringLiteral("EdAutoRadio"), true);
  EdUseRefined =
      NewCheckBox(QStringLiteral("Use refined decisions"), QStringLiteral("EdUseRefined"), true);
  Box->addWidget(EdAutoRadio);
  Box->addWidget(EdUseRefined);

  connect(EdSeconds, &QSlider::valueChanged, this, HANDLER(this, TThinkingPanel::EdSecondsChange));
  connect(EdRadio, &QSlider::valueChanged, this, HANDLER(this, TThinkingPanel::EdRadioChange));
  connect(EdAutoRadio, &QCheckBox::toggled, this, HANDLER(this, TThinkingPanel::EdAutoRadioClick));
  connect(EdUseRefined, &QCheckBox::toggled, this,
          HANDLER(this, TThinkingPanel::EdUseRefinedClick));
}

void TThinkingPanel::ShowSeconds(int32_t Seconds) { EdSeconds->setValue(Seconds); }

void TThinkingPanel::ShowGridSize(int32_t GridSize) { EdRadio->setValue(GridSize); }

void TThinkingPanel::ShowAutoGrid(bool AutoGrid) { EdAutoRadio->setChecked(AutoGrid); }

void TThinkingPanel::ShowUseRefined(bool UseRefined) { EdUseRefined->setChecked(UseRefined); }

void TThinkingPanel::EdSecondsChange() {
  emit secondsChanged(EdSeconds->value());
  LbSeconds->setText(QString::number(EdSeconds->value()) + QStringLiteral(" s."));
}

void TThinkingPanel::EdRadioChange() {
  emit gridSizeChanged(EdRadio->value());
  LbRadio->setText(QString::number(EdRadio->value()) + QStringLiteral("px"));
}

void TThinkingPanel::EdAutoRadioClick() { emit autoGridChanged(EdAutoRadio->isChecked()); }

void TThinkingPanel::EdUseRefinedClick() { emit useRefinedChanged(EdUseRefined->isChecked()); }
