// A program for the report tests, started as a child process: it runs the window and ends it
// from the error dialog's Close button.
// By hand, "shots" saves pictures of the error dialog, collapsed and expanded, and of the mail
// dialog with a marked-up screenshot into PROGRAM_FOLDER (run it under a real display).
// Usage: report_helper close|shots PROGRAM_FOLDER DATA_FOLDER

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "agents/UPlayer.h"
#include "report/UErrorDialog.h"
#include "report/UMarkupView.h"
#include "report/UReportMail.h"
#include "tests/FlatPlayer.h"
#include "ui/UApplication.h"
#include "ui/UFormTest2D.h"
#include "ui/URaceRunner.h"
#include "world/UTrack2D.h"

namespace {

int CloseFromErrorDialog(int& argc, char** argv, const TErrorLog& Log) {
  TApplication App(argc, argv);
  TApplication::SetErrorLog(Log);
  TFormTest2D Form;
  Form.show();
  Form.findChild<QSlider*>("EdSeconds")->setValue(1);
  Form.Runner().Track->FixedPasses = 1;
  // After the first move, a handler fails while the run goes on; Close is pressed in its dialog.
  bool Failed = false;
  QObject::connect(&Form.Runner(), &TRaceRunner::MoveFinished, [&] {
    if (std::exchange(Failed, true)) return;
    QTimer::singleShot(0, [] {
      RunHandler([] { throw std::runtime_error("Deliberate error."); }, "ReportHelper");
    });
  });
  QTimer Closer;
  QObject::connect(&Closer, &QTimer::timeout, [] {
    if (auto* Dialog = qobject_cast<TErrorDialog*>(QApplication::activeModalWidget()))
      Dialog->BtnClose->click();
  });
  Closer.start(20);
  QTimer::singleShot(30000, [] { std::_Exit(4); });  // a program that will not end
  QTimer::singleShot(0, Form.findChild<QPushButton*>("StartBtn"), &QPushButton::click);
  return App.exec();
}

void Shoot(QWidget& Widget, const QString& Folder, const QString& Name) {
  Widget.grab().save(Folder + "/" + Name + ".png");
  if (QScreen* Screen = Widget.screen())
    Screen->grabWindow(0).save(Folder + "/" + Name + "-screen.png");
}

int SaveShots(int& argc, char** argv, const TErrorLog& Log) {
  TApplication App(argc, argv);
  TApplication::SetErrorLog(Log);
  TApplication::QuitProgram = [] {};
  TErrorDialog::UrlOpener = [](const QUrl&) { return false; };
  const QString Folder = Log.ProgramFolder;
  TFormTest2D Form;
  Form.show();
  Form.activateWindow();
  Form.Runner().Track->AddPlayer(*new TFlatPlayer);
  QTimer::singleShot(30000, [] { std::_Exit(4); });
  // Each step schedules the next before it opens anything modal.
  QTimer::singleShot(500, Form.findChild<QPushButton*>("StartBtn"), &QPushButton::click);
  QTimer::singleShot(1500, [&] {
    auto* Dialog = qobject_cast<TErrorDialog*>(QApplication::activeModalWidget());
    if (!Dialog) std::_Exit(5);
    Shoot(*Dialog, Folder, "error-dialog");
    Dialog->BtnDetails->click();
    QTimer::singleShot(700, [=, &Folder] {
      Shoot(*Dialog, Folder, "error-dialog-details");
      Dialog->BtnDetails->click();
      QTimer::singleShot(700, [=, &Folder] {
        auto* Mail = qobject_cast<TReportMailDialog*>(QApplication::activeModalWidget());
        if (!Mail) std::_Exit(6);
        Mail->EdContact->setText("Ann Example <ann@example.org>");
        Mail->EdDescription->setPlainText("I pressed Run and the error came at once.");
        // A ring round the Run button's place in the picture.
        TMarkupView& View = *Mail->Markup;
        const double Scale = View.width() / 1060.0;
        const QPoint Centre(static_cast<int>(860 * Scale), View.height() - 30);
        QTest::mousePress(&View, Qt::LeftButton, {}, Centre + QPoint(40, 0));
        for (int Step = 1; Step <= 36; ++Step) {
          const double A = Step * 3.14159265 / 18;
          QTest::mouseMove(&View, Centre + QPoint(static_cast<int>(40 * std::cos(A)),
                                                  static_cast<int>(18 * std::sin(A))));
        }
        QTest::mouseRelease(&View, Qt::LeftButton, {}, Centre + QPoint(40, 0));
        QTimer::singleShot(500, [=, &Folder] {
          Shoot(*Mail, Folder, "mail-markup");
          Mail->reject();
          QTimer::singleShot(300, [=] { Dialog->BtnContinue->click(); });
          QTimer::singleShot(900, [] { QCoreApplication::exit(0); });
        });
      });
      Dialog->BtnSendReport->click();
    });
  });
  return App.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string Mode = argv[1];
  const TErrorLog Log(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  if (Mode == "close") return CloseFromErrorDialog(argc, argv, Log);
  if (Mode == "shots") return SaveShots(argc, argv, Log);
  return 2;
}
