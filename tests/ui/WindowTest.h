#pragma once
// A fresh main window per test, shown and active, with helpers to drive its run loop and to
// answer its error dialogs.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>

#include "agents/UKart.h"
#include "report/UErrorDialog.h"
#include "ui/UColorPanel.h"
#include "ui/UFormTest2D.h"
#include "ui/UImageControl.h"
#include "ui/URaceRunner.h"
#include "world/UTrack2D.h"

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    W = std::make_unique<TFormTest2D>();
    W->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(W.get()));
  }

  /// The window's control or menu item of that name; a missing one fails the test.
  template <class T>
  T* Find(const char* Name) const {
    T* Found = W->findChild<T*>(QString::fromLatin1(Name));
    if (!Found) ADD_FAILURE() << "no " << Name << " of the expected kind";
    return Found;
  }

  TTrack2D& Track() const { return *W->Runner().Track; }
  TKart& Kart(int Index) const { return dynamic_cast<TKart&>(Track().GetPlayer(Index)); }

  /// Short futures, a fixed number of passes and no waiting for the budget's wall time: a move
  /// takes milliseconds.
  void MakeMovesQuick() {
    Find<QSlider>("EdSeconds")->setValue(1);
    Track().FixedPasses = 1;
    if (!Find<QAction>("AsFastAsPossible")->isChecked())
      Find<QAction>("AsFastAsPossible")->trigger();
  }

  /// Presses Run as the user does; AfterMove runs at the end of every move with its number,
  /// and Pause is pressed at the end of move Moves. Returns the number of moves made.
  int RunMoves(int Moves, const std::function<void(int)>& AfterMove = {}) {
    int Done = 0;
    auto Link = QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] {
      ++Done;
      if (AfterMove) AfterMove(Done);
      if (Done == Moves) Find<QPushButton>("PauseBtn")->click();
    });
    QTest::mouseClick(Find<QPushButton>("StartBtn"), Qt::LeftButton);
    QObject::disconnect(Link);
    return Done;
  }

  /// Chooses the first or the last line of the kart list with the keyboard, as a user may.
  void ChooseFirstKart() { QTest::keyClick(Find<QComboBox>("EdKartId"), Qt::Key_Home); }
  void ChooseLastKart() { QTest::keyClick(Find<QComboBox>("EdKartId"), Qt::Key_End); }

  /// A stroke with the mouse on the picture, through the given control points.
  void Stroke(std::initializer_list<QPoint> Points) {
    auto* Img = Find<TImageControl>("ImgRoad");
    auto It = Points.begin();
    QTest::mousePress(Img, Qt::LeftButton, Qt::NoModifier, *It);
    for (++It; It != Points.end(); ++It) {
      QMouseEvent Move(QEvent::MouseMove, *It, Img->mapToGlobal(*It), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
      QApplication::sendEvent(Img, &Move);
    }
    QTest::mouseRelease(Img, Qt::LeftButton, Qt::NoModifier, *(Points.end() - 1));
  }

  /// Number of pixels of the given colour in the picture, within Radius of (X, Y).
  int CountColor(TColor Color, int X, int Y, int Radius) const {
    const TPicture& P = Find<TImageControl>("ImgRoad")->Picture();
    int N = 0;
    for (int PX = X - Radius; PX <= X + Radius; ++PX)
      for (int PY = Y - Radius; PY <= Y + Radius; ++PY) N += P.Pixel(PX, PY) == Color;
    return N;
  }

  std::unique_ptr<TFormTest2D> W;
};

/// Answers every modal dialog that opens while it lives: error dialogs are closed (Continue, or
/// OnError) and their messages kept; file and colour dialogs take the next planned answer (an
/// empty one cancels).
class DialogAnswerer {
 public:
  DialogAnswerer() {
    QObject::connect(&Timer, &QTimer::timeout, [this] { Answer(); });
    Timer.start(10);
  }

  QStringList Messages;  ///< texts of the error dialogs and message boxes, in order
  QStringList Reports;   ///< texts of the error dialogs alone: program errors, logged
  QStringList Files;     ///< file names to choose, in order; "" cancels
  /// Buttons to press in the message boxes, in order; once none is left, OK (or "No").
  QList<QMessageBox::StandardButton> Answers;
  QList<QColor> Colors;  ///< colours to choose, in order; an invalid one cancels
  std::function<void(QFileDialog&)> BeforeAccept;  ///< a look at a file dialog before answering
  /// Looks at an error dialog and ends it; without it, Continue is pressed. Opens no dialog.
  std::function<void(TErrorDialog&)> OnError;

 private:
  void Answer() {
    QWidget* Modal = QApplication::activeModalWidget();
    if (auto* Box = qobject_cast<QMessageBox*>(Modal)) {
      Messages << Box->text();
      Box->done(Answers.isEmpty() ? QMessageBox::Ok : Answers.takeFirst());
    } else if (auto* Error = qobject_cast<TErrorDialog*>(Modal)) {
      Messages << Error->Report().Message;
      Reports << Error->Report().Message;
      if (OnError)
        OnError(*Error);
      else
        Error->BtnContinue->click();
    } else if (auto* Files_ = qobject_cast<QFileDialog*>(Modal)) {
      const QString Name = Files.isEmpty() ? QString() : Files.takeFirst();
      if (Name.isEmpty()) return Files_->reject();
      // The name as typed: selectFile leaves a focused name field as it was.
      Files_->selectFile(Name);
      Files_->findChild<QLineEdit*>("fileNameEdit")->setText(Name);
      if (BeforeAccept) BeforeAccept(*Files_);
      static_cast<QDialog*>(Files_)->accept();  // runs QFileDialog::accept
    } else if (auto* Colors_ = qobject_cast<QColorDialog*>(Modal)) {
      const QColor Color = Colors.isEmpty() ? QColor() : Colors.takeFirst();
      if (!Color.isValid()) return Colors_->reject();
      Colors_->setCurrentColor(Color);
      Colors_->accept();
    }
  }

  QTimer Timer;
};
