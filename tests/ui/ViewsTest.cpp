// The views of the race and a window that explains itself: the thinking view and the race table
// follow every move and every choice of kart, every control has a tooltip, the new controls are
// reached by keyboard, the debug text keeps its place, the colour caption stays legible, and the
// open dialog previews only what it would load and leaves nothing behind.

#include <QAbstractItemView>
#include <QChart>
#include <QCompleter>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScatterSeries>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>
#include <algorithm>

#include "io/UCircuitFile.h"
#include "tests/ui/WindowTest.h"
#include "ui/UDebugMemo.h"
#include "ui/UOpenPictureDialog.h"
#include "ui/URaceTable.h"
#include "ui/URaceViews.h"
#include "ui/UThinkingView.h"

namespace {

class Views : public WindowTest {
 protected:
  TRaceViews& RaceViews() const { return *W->findChild<TRaceViews*>(); }
  QAction* Action(const char* Name) const { return Find<QAction>(Name); }
};

// The shares of the kart's options, sorted, as the view must show them.
std::vector<double> Shares(const TKart& K) {
  std::vector<double> S;
  for (int I = 0; I < K.Futures->OptionCount(); ++I) S.push_back(K.Futures->Option(I).Score);
  std::sort(S.begin(), S.end());
  return S;
}

std::vector<double> Shares(const TThinkingSnapshot& Shown) {
  std::vector<double> S;
  for (const auto& O : Shown.Options) S.push_back(O.Share);
  std::sort(S.begin(), S.end());
  return S;
}

// Scroll bars, corner buttons and the like belong to the control around them.
bool PartOfAnother(const QWidget* C) {
  for (const QWidget* P = C->parentWidget(); P && !P->isWindow(); P = P->parentWidget())
    if (qobject_cast<const QAbstractScrollArea*>(P) || qobject_cast<const QComboBox*>(P) ||
        qobject_cast<const QMenuBar*>(P))
      return true;
  return false;
}

}  // namespace

TEST_F(Views, TheThinkingViewAndTheRaceTableFollowEveryMoveAndEveryChoiceOfKart) {
  Find<QPushButton>("BtnAddKart")->click();
  Find<QPushButton>("BtnAddKart")->click();
  MakeMovesQuick();
  Action("MenuThinkingView")->trigger();
  Action("MenuRaceTable")->trigger();
  ASSERT_TRUE(RaceViews().ThinkingView()->isVisible());
  ASSERT_TRUE(RaceViews().RaceTable()->isVisible());
  const TThinkingSnapshot& Shown = RaceViews().ThinkingView()->Shown();

  RunMoves(3, [&](int Move) {
    // The current kart is the last one added: its last decision, its last moves.
    EXPECT_EQ(Shown.Kart, "Kart #3");
    EXPECT_EQ(Shares(Shown), Shares(Kart(2))) << "move " << Move;
    EXPECT_EQ(static_cast<int>(Shown.History.size()), Move);
    ASSERT_TRUE(Shown.Decided);
    EXPECT_EQ(Shown.AvgTurn, Kart(2).Futures->AveragedDecision()[0]);
    EXPECT_EQ(Shown.RealTurn, Kart(2).PushTurn());
  });
  // Sorted by decision, and the mark on one of them.
  for (size_t I = 1; I < Shown.Options.size(); ++I)
    EXPECT_LE(Shown.Options[I - 1].Turn, Shown.Options[I].Turn);
  EXPECT_GE(Shown.Chosen, 0);

  // Paused: the chosen kart's thinking is shown at once.
  QTest::keyClick(W.get(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(W->CurrentKart, &Kart(0));
  EXPECT_EQ(Shown.Kart, "Kart #1");
  EXPECT_EQ(Shares(Shown), Shares(Kart(0)));

  const QTableWidget& Table = *RaceViews().RaceTable()->Table();
  ASSERT_EQ(Table.rowCount(), 3);
  const auto& Records = RaceViews().Log().Records();
  for (int R = 0; R < 3; ++R) {
    EXPECT_EQ(Records[R].Moves, 3);
    EXPECT_EQ(Table.item(R, 1)->text(), QStringLiteral("Kart #%1").arg(R + 1));
    EXPECT_EQ(Table.item(R, 5)->text(), QString::number(Records[R].Distance, 'f', 1));
    EXPECT_EQ(Table.item(R, 0)->background().color(), TQtPicture::ToQColor(Kart(R).Color));
  }
  EXPECT_EQ(
      Find<QLabel>("LbFuturesPerMove")->text(),
      "chosen kart: 200 futures/move, " + QString::number(Kart(0).Futures->Count()) + " distinct");
  EXPECT_EQ(Find<QLabel>("LbRunState")->text(), "Paused");

  // A removed kart leaves the table; Reset starts every figure afresh.
  QTest::mouseClick(Find<QPushButton>("BtnSubKart"), Qt::LeftButton);
  EXPECT_EQ(Table.rowCount(), 2);
  QTest::mouseClick(Find<QPushButton>("BtnReset"), Qt::LeftButton);
  EXPECT_EQ(RaceViews().Log().Records()[0].Moves, 0);
  EXPECT_EQ(Table.item(0, 5)->text(), "0.0");
}

TEST_F(Views, TheThinkingChartsHaveAxesWithUnitsLegendsAndCirclesInsideTheirFrame) {
  MakeMovesQuick();
  Track().FixedPasses = 300;
  Action("MenuThinkingView")->trigger();
  TThinkingView& View = *RaceViews().ThinkingView();
  ASSERT_EQ(RunMoves(3), 3);
  QApplication::processEvents();
  for (QChart* Chart : View.Charts()) {
    EXPECT_FALSE(Chart->title().isEmpty());
    for (QAbstractAxis* Axis : Chart->axes()) {
      EXPECT_FALSE(Axis->titleText().isEmpty()) << Chart->title().toStdString();
      if (auto* Values = qobject_cast<QValueAxis*>(Axis)) {
        EXPECT_GE(Values->tickCount(), 2);
      }
    }
  }
  // The history's line is the kart's, by number in the legend.
  QChart* Futures = View.Charts()[2];
  ASSERT_EQ(Futures->series().size(), 1);
  EXPECT_EQ(Futures->series()[0]->name(), "Kart #1");
  EXPECT_TRUE(Futures->legend()->isVisible());
  EXPECT_EQ(qobject_cast<QXYSeries*>(Futures->series()[0])->count(), 3);

  // Every option's circle, at its largest, lies within the plot.
  QChart* Plane = View.Charts()[1];
  auto* Options = qobject_cast<QScatterSeries*>(Plane->series()[0]);
  ASSERT_GT(Options->count(), 1);
  const QRectF Plot = Plane->plotArea();
  for (int I = 0; I < Options->count(); ++I) {
    const QPointF At = Plane->mapToPosition(Options->at(I), Options);
    const double R = Options->pointConfiguration(I)
                         .value(QXYSeries::PointConfiguration::Size, Options->markerSize())
                         .toDouble() /
                     2;
    EXPECT_TRUE(Plot.contains(QRectF(At - QPointF(R, R), QSizeF(2 * R, 2 * R))))
        << "option " << I << " at " << At.x() << ", " << At.y();
  }
}

TEST_F(Views, MenusKartsAndViewsAreReachedByKeyboardWithoutTheArrowKeys) {
  Find<QPushButton>("BtnAddKart")->click();
  EXPECT_EQ(W->CurrentKart, &Kart(1));
  QTest::keyClick(W.get(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(W->CurrentKart, &Kart(0));
  QTest::keyClick(W.get(), Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(W->CurrentKart, &Kart(1));
  EXPECT_EQ(Find<QComboBox>("EdKartId")->currentIndex(), 1);

  QTest::keyClick(W.get(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(RaceViews().ThinkingView()->isVisible());
  QTest::keyClick(W.get(), Qt::Key_R, Qt::ControlModifier);
  EXPECT_TRUE(RaceViews().RaceTable()->isVisible());

  // F10 and Alt with the menu's letter open the menu bar.
  QMenuBar* Bar = W->menuBar();
  W->activateWindow();
  QTest::keyClick(W.get(), Qt::Key_F10);
  ASSERT_NE(Bar->activeAction(), nullptr);
  EXPECT_EQ(Bar->activeAction()->text(), "&File");
  QTest::keyClick(Bar, Qt::Key_Escape);
  QTest::keyClick(Bar, Qt::Key_Escape);
  QTest::keyClick(W.get(), Qt::Key_V, Qt::AltModifier);
  EXPECT_TRUE(Find<QMenu>("MenuView")->isVisible());
  Find<QMenu>("MenuView")->close();
  for (QAction* Menu : Bar->actions()) {
    const QString Title = Menu->text();
    const int Amp = Title.indexOf('&');
    ASSERT_GE(Amp, 0) << "no Alt letter in " << Title.toStdString();
    EXPECT_FALSE(QKeySequence::mnemonic(Title).isEmpty());
  }
}

TEST_F(Views, EveryControlAndMenuItemExplainsItselfInATooltip) {
  QList<QWidget*> Controls;
  for (QWidget* Root :
       {static_cast<QWidget*>(W.get()), static_cast<QWidget*>(RaceViews().RaceTable())})
    for (QWidget* C : Root->findChildren<QWidget*>()) {
      const bool Control = qobject_cast<QAbstractButton*>(C) || qobject_cast<QAbstractSlider*>(C) ||
                           qobject_cast<QComboBox*>(C) || qobject_cast<QPlainTextEdit*>(C) ||
                           qobject_cast<QTableWidget*>(C) || qobject_cast<TColorPanel*>(C) ||
                           qobject_cast<TImageControl*>(C) ||
                           (qobject_cast<QLabel*>(C) && C->parent() == W->statusBar());
      // Inside the dialogs and the combo box's own parts there is nothing of ours.
      if (!Control || (C->window() != W.get() && C->window() != RaceViews().RaceTable())) continue;
      if (PartOfAnother(C)) continue;
      Controls << C;
    }
  EXPECT_GT(Controls.size(), 25);
  for (QWidget* C : Controls)
    EXPECT_FALSE(C->toolTip().trimmed().isEmpty())
        << C->metaObject()->className() << " " << C->objectName().toStdString();
  for (QAction* Title : W->menuBar()->actions())
    for (QAction* Item : Title->menu()->actions()) {
      if (Item->isSeparator()) continue;
      // A tooltip that only repeats the caption says nothing more.
      EXPECT_NE(Item->toolTip().remove('&'), Item->text().remove('&'))
          << Item->text().toStdString();
    }
}

TEST(DebugMemo, KeepsItsScrollAcrossMovesAndLabelsTheDrag) {
  TDebugMemo Memo;
  Memo.resize(200, 80);
  Memo.show();
  const auto Listing = [&Memo] {
    Memo.Clear();
    Memo.Clear();  // a move clears twice
    for (int I = 0; I < 60; ++I) Memo.AddLine("option " + std::to_string(I));
  };
  Listing();
  Memo.verticalScrollBar()->setValue(20);
  Listing();
  EXPECT_EQ(Memo.verticalScrollBar()->value(), 20);
  Memo.SetText("0.0150");
  EXPECT_EQ(Memo.toPlainText(), "Drag coefficient of the last step: 0.0150");
}

TEST(ColorPanel, TheCaptionIsBlackOrWhiteByRelativeLuminance) {
  // Light colours take black, yellow and green included; dark ones white.
  for (TColor Light : {clYellow, clLime, clWhite, clRed, clFuchsia, TColor(0x00C0C0C0)})
    EXPECT_TRUE(BlackTextOn(Light)) << std::hex << Light;
  for (TColor Dark : {clBlack, TColor(0x00FF0000), TColor(0x00000080), TColor(0x00404040)})
    EXPECT_FALSE(BlackTextOn(Dark)) << std::hex << Dark;
  TColorPanel Panel(QStringLiteral("Color"));
  Panel.SetColor(clYellow);
  EXPECT_EQ(Panel.palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST(OpenPictureDialog, PreviewsOnlyWhatTheLoaderTakesAndClosesItsSuggestions) {
  QTemporaryDir Dir;
  QImage Good(800, 600, QImage::Format_RGB32);
  Good.fill(qRgb(255, 206, 61));
  ASSERT_TRUE(Good.save(Dir.filePath("good.bmp"), "BMP"));
  ASSERT_TRUE(QFile::copy(Dir.filePath("good.bmp"), Dir.filePath("cut.bmp")));
  QFile Cut(Dir.filePath("cut.bmp"));
  ASSERT_TRUE(Cut.open(QIODevice::ReadWrite));
  Cut.resize(Cut.size() / 2);
  Cut.close();

  TOpenPictureDialog Dialog;
  Dialog.ShowPreview(Dir.filePath("good.bmp"));
  EXPECT_EQ(Dialog.Preview()->pixmap().size(), QSize(200, 150));
  Dialog.ShowPreview(Dir.filePath("cut.bmp"));
  EXPECT_TRUE(Dialog.Preview()->pixmap().isNull());
  const QString Reason = ReadCircuitPicture(Dir.filePath("cut.bmp")).Error;
  ASSERT_FALSE(Reason.isEmpty());
  EXPECT_EQ(Dialog.Preview()->text(), Reason);

  Dialog.setDirectory(Dir.path());
  Dialog.show();
  auto* Name = Dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_TRUE(Name && Name->completer());
  QAbstractItemView* Suggestions = Name->completer()->popup();
  Suggestions->show();
  Dialog.reject();
  EXPECT_FALSE(Suggestions->isVisible());
}
