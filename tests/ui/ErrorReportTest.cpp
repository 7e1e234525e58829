// Error reports: the dialog and what its buttons do, the clipboard, the size-limited log and
// where it goes, the mail link with its marked-up screenshot. Crash reports: tests/report.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <cmath>

#include "WindowTest.h"
#include "decision/UBase.h"
#include "report/UBuildInfo.h"
#include "report/UErrorLog.h"
#include "report/UMarkupView.h"
#include "report/UReportMail.h"
#include "tests/FlatPlayer.h"

namespace {

QByteArray ReadAll(const QString& Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

/// Reports stand one after another in the log, each opened by a marker line.
int CountReports(const QByteArray& Log) {
  return static_cast<int>(Log.count("\n==== ")) + (Log.startsWith("==== ") ? 1 : 0);
}

/// Sets the application's log and quit action for one test and puts them back afterwards.
class TReportSetup {
 public:
  TReportSetup() : OldLog(TApplication::ErrorLog()), OldQuit(TApplication::QuitProgram) {
    TApplication::SetErrorLog(TErrorLog(Dir.filePath("program"), Dir.filePath("data")));
    QDir().mkpath(Dir.filePath("program"));
    TApplication::QuitProgram = [this] { ++Quits; };
  }
  ~TReportSetup() {
    TApplication::SetErrorLog(OldLog);
    TApplication::QuitProgram = OldQuit;
  }
  QString LogPath() const { return Dir.filePath("program/") + TErrorLog::FileName; }

  QTemporaryDir Dir;
  int Quits = 0;

 private:
  TErrorLog OldLog;
  std::function<void()> OldQuit;
};

TErrorReport SampleReport() {
  return ComposeErrorReport("Something failed.", "EdSizeChange",
                            [] { return QString("Karts: 1\n"); });
}

}  // namespace

using ErrorReports = WindowTest;

TEST_F(ErrorReports, AnErrorThatEndsTheRunIsNamedLoggedCopiedAndContinueLeavesRunReleased) {
  TReportSetup Setup;
  MakeMovesQuick();
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  auto* Flat = new TFlatPlayer;  // freed below: the track does not own its players
  Track().AddPlayer(*Flat);

  TErrorReport Seen;
  QString Shown, Summary, Logged;
  bool RunStoppedShown = false, DetailsShown = false;
  QSize Screenshot;
  DialogAnswerer Dialogs;
  Dialogs.OnError = [&](TErrorDialog& D) {
    Seen = D.Report();
    Shown = D.LbMessage->text();
    Summary = D.LbSummary->text();
    Logged = D.LbLogged->text();
    RunStoppedShown = D.LbRunStopped->isVisibleTo(&D);
    Screenshot = D.Screenshot().size();
    EXPECT_FALSE(D.Details->isVisibleTo(&D));
    QTest::mouseClick(D.BtnDetails, Qt::LeftButton);
    DetailsShown = D.Details->isVisibleTo(&D) && D.Details->toPlainText() == D.Report().Text();
    D.BtnContinue->click();
  };
  QTest::mouseClick(Find<QPushButton>("StartBtn"), Qt::LeftButton);
  ASSERT_EQ(Dialogs.Messages.size(), 1);

  const QString Message = "Track2D contains a player that is not a Player2D.";
  EXPECT_EQ(Shown, Message);
  EXPECT_TRUE(Summary.contains("Where: TFormTest2D::StartBtnClick")) << Summary.toStdString();
  EXPECT_TRUE(Summary.contains("Version: " + ProgramVersion())) << Summary.toStdString();
  EXPECT_FALSE(ProgramVersion().isEmpty());
  EXPECT_TRUE(RunStoppedShown);
  EXPECT_TRUE(DetailsShown);
  EXPECT_EQ(Screenshot, W->grab().size());

  // The settings of the track and of every kart, the circuit and the system.
  const QString Text = Seen.Text();
  for (const char* Part :
       {"Error: Track2D contains", "Circuit: built-in circuit, 800 x 600", "Karts: 3",
        "Kart #2 (current): x ", "Kart #3: a player that is not a kart",
        "Track: friction 0.015, slide friction 0.2", "racing the lap direction no\n",
        "debug level 0", "Qt 6."})
    EXPECT_TRUE(Text.contains(Part)) << Part << "\n" << Text.toStdString();

  EXPECT_EQ(QGuiApplication::clipboard()->text(), Text);
  EXPECT_TRUE(Logged.contains(QDir::toNativeSeparators(Setup.LogPath()))) << Logged.toStdString();
  EXPECT_EQ(ReadAll(Setup.LogPath()), Text.toUtf8());

  // Back in the window: the run has ended and looks it, and everything works.
  EXPECT_FALSE(Find<QPushButton>("StartBtn")->isChecked());
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());
  EXPECT_EQ(Setup.Quits, 0);
  Track().RemovePlayer(Flat, true);
  EXPECT_EQ(RunMoves(2), 2);
  // The karts drive again (which way depends on the clock's seed and on their bumping).
  EXPECT_GT(std::hypot(Kart(0).PosX() - 200, Kart(0).PosY() - 460), 0);

  // An error in another handler names it, says nothing of the run, and adds a second report.
  Find<QComboBox>("EdKartId")->addItem("Kart #3");
  Dialogs.OnError = [&](TErrorDialog& D) {
    Seen = D.Report();
    D.BtnContinue->click();
  };
  ChooseLastKart();
  ASSERT_EQ(Dialogs.Messages.size(), 2);
  EXPECT_EQ(Seen.Where, "TFormTest2D::EdKartIdChange");
  EXPECT_FALSE(Seen.RunStopped);
  EXPECT_EQ(CountReports(ReadAll(Setup.LogPath())), 2);
}

TEST_F(ErrorReports, CloseTheProgramQuitsAndALogThatCannotBeWrittenIsOnlyMentioned) {
  TReportSetup Setup;
  // Neither folder can take the log: each lies under a file.
  QFile Blocker(Setup.Dir.filePath("file"));
  ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  Blocker.close();
  TApplication::SetErrorLog(
      TErrorLog(Setup.Dir.filePath("file/program"), Setup.Dir.filePath("file/data")));
  Find<QComboBox>("EdKartId")->addItem("Kart #2");
  QString Logged;
  DialogAnswerer Dialogs;
  Dialogs.OnError = [&](TErrorDialog& D) {
    Logged = D.LbLogged->text();
    D.BtnClose->click();
  };
  ChooseLastKart();
  EXPECT_EQ(Dialogs.Messages.size(), 1);  // no second error about the log
  EXPECT_TRUE(Logged.contains("could not be added to the error log")) << Logged.toStdString();
  EXPECT_TRUE(Logged.contains("file/program")) << Logged.toStdString();
  EXPECT_EQ(Setup.Quits, 1);
}

TEST(ErrorReportProgram, CloseFromTheDialogEndsARunningProgramCleanly) {
  QTemporaryDir Dir;
  QProcess Child;
  Child.start(REPORT_HELPER, {"close", Dir.path(), Dir.filePath("data")});
  ASSERT_TRUE(Child.waitForFinished(120000)) << "the program did not end";
  EXPECT_EQ(Child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Child.exitCode(), 0) << Child.readAllStandardError().toStdString();
  EXPECT_TRUE(
      ReadAll(QDir(Dir.path()).filePath(TErrorLog::FileName)).contains("Deliberate error."));
}

TEST(ErrorLog, GrowsByWholeReportsAndDropsTheOldestBeyondItsLimit) {
  const QByteArray A = "==== Error report ====\nA\n";
  const QByteArray B = "==== Error report ====\nB\n";
  const QByteArray C = "==== Crash report ====\nC\n";
  // A line in the middle of a report that looks like none is no cutting point.
  const QByteArray Long = "==== Error report ====\nfirst\n ==== not a report\nlast\n";
  EXPECT_EQ(AppendWithinLimit(A, B, 1000), A + B);
  EXPECT_EQ(AppendWithinLimit(A + B, C, A.size() + B.size() + C.size() - 1), B + C);
  EXPECT_EQ(AppendWithinLimit("junk before\n" + A, B, A.size() + B.size()), A + B);
  EXPECT_EQ(AppendWithinLimit(Long, A, A.size() + 5), A);
  // A newest report too long on its own keeps its beginning.
  EXPECT_EQ(AppendWithinLimit(A, Long, 10), Long.left(10));

  // The real file at its real limit.
  QTemporaryDir Dir;
  const TErrorLog Log(Dir.path(), Dir.filePath("data"));
  const QString Filler(100 * 1024, QChar('x'));
  for (int I = 1; I <= 12; ++I) {
    const TErrorLog::TResult R =
        Log.Append(QString("==== Error report ====\nReport %1\n%2\n").arg(I).arg(Filler));
    ASSERT_TRUE(R.Problem.isEmpty()) << R.Problem.toStdString();
    EXPECT_EQ(R.Path, QDir(Dir.path()).filePath(TErrorLog::FileName));
  }
  const QByteArray File = ReadAll(QDir(Dir.path()).filePath(TErrorLog::FileName));
  EXPECT_LE(File.size(), TErrorLog::MaxBytes);
  EXPECT_GT(File.size(), TErrorLog::MaxBytes - 110 * 1024);
  EXPECT_TRUE(File.startsWith("==== Error report ====\nReport "));
  EXPECT_FALSE(File.contains("Report 1\n"));
  EXPECT_TRUE(File.contains("Report 12\n" + QByteArray(100 * 1024, 'x') + "\n"));
  EXPECT_EQ(CountReports(File), 10);
}

TEST(ErrorLog, GoesToTheDataFolderWhereTheProgramFolderCannotBeWritten) {
  QTemporaryDir Dir;
  QFile Blocker(Dir.filePath("installed"));
  ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  Blocker.close();
  const TErrorLog Log(Dir.filePath("installed/bin"), Dir.filePath("user/data"));
  const QString InData = QDir(Dir.filePath("user/data")).filePath(TErrorLog::FileName);
  EXPECT_EQ(Log.ChoosePath(), InData);
  const TErrorLog::TResult R = Log.Append("==== Error report ====\nX\n");
  EXPECT_TRUE(R.Problem.isEmpty()) << R.Problem.toStdString();
  EXPECT_EQ(R.Path, InData);
  EXPECT_EQ(ReadAll(InData), "==== Error report ====\nX\n");
}

TEST(ErrorDialog, SaveDetailsWritesTheReportOrSaysWhyItCouldNot) {
  QTemporaryDir Dir;
  TErrorDialog Dialog(SampleReport(), QImage(), {Dir.filePath("log"), {}});
  Dialog.show();
  DialogAnswerer Dialogs;
  Dialogs.Files << Dir.filePath("details.txt") << Dir.filePath("missing/details.txt");
  QTest::mouseClick(Dialog.BtnSaveDetails, Qt::LeftButton);
  EXPECT_EQ(ReadAll(Dir.filePath("details.txt")), Dialog.Report().Text().toUtf8());
  EXPECT_TRUE(Dialog.LbStatus->text().startsWith("The details were saved to"))
      << Dialog.LbStatus->text().toStdString();

  QTest::mouseClick(Dialog.BtnSaveDetails, Qt::LeftButton);
  EXPECT_FALSE(QFile::exists(Dir.filePath("missing/details.txt")));
  EXPECT_TRUE(Dialog.LbStatus->text().startsWith("The details could not be saved to"))
      << Dialog.LbStatus->text().toStdString();
  EXPECT_TRUE(Dialogs.Messages.isEmpty());
  EXPECT_TRUE(Dialog.isVisible());  // saving does not end the dialog
}

TEST(ReportMail, TheLinkIsPercentEncodedWithLineBreaksAsCrLf) {
  const QUrl Url = ComposeMailUrl(" bugs@example.org ", "A & B = 100%?",
                                  QString::fromUtf8("one\ntwo +x #y \xc3\xa9"));
  EXPECT_EQ(Url.toEncoded(),
            "mailto:bugs@example.org?subject=A%20%26%20B%20%3D%20100%25%3F"
            "&body=one%0D%0Atwo%20%2Bx%20%23y%20%C3%A9");
  EXPECT_EQ(Url.scheme(), "mailto");
  EXPECT_EQ(Url.path(), "bugs@example.org");
}

TEST(ReportMail, SendingSavesTheMarkedScreenshotAndOpensTheMailWithEverything) {
  QTemporaryDir Dir;
  QImage Screenshot(400, 300, QImage::Format_RGB32);
  Screenshot.fill(Qt::white);
  QList<QUrl> Opened;
  TReportMailDialog Mail(SampleReport(), Screenshot, Dir.path(), [&](const QUrl& Url) {
    Opened << Url;
    return true;
  });
  Mail.EdTo->clear();
  Mail.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Mail));

  // Without an address nothing is sent.
  QTest::mouseClick(Mail.BtnSend, Qt::LeftButton);
  EXPECT_TRUE(Opened.isEmpty());
  EXPECT_TRUE(Mail.LbStatus->isVisible());

  // A stroke across the middle of the view marks the middle of the picture; Clear takes it away.
  TMarkupView& View = *Mail.Markup;
  const QPoint Middle = View.rect().center();
  auto Stroke = [&] {
    QTest::mousePress(&View, Qt::LeftButton, {}, Middle - QPoint(20, 0));
    QTest::mouseMove(&View, Middle + QPoint(20, 0));
    QTest::mouseRelease(&View, Qt::LeftButton, {}, Middle + QPoint(20, 0));
  };
  Stroke();
  ASSERT_TRUE(View.HasMarks());
  EXPECT_NE(View.MarkedPicture().pixelColor(200, 150), QColor(Qt::white));
  QTest::mouseClick(Mail.BtnClearMarks, Qt::LeftButton);
  EXPECT_FALSE(View.HasMarks());
  EXPECT_EQ(View.MarkedPicture().convertToFormat(QImage::Format_RGB32), Screenshot);
  Stroke();

  Mail.EdTo->setText("bugs@example.org");
  Mail.EdContact->setText("Ann <ann@example.org>");
  Mail.EdDescription->setPlainText("Pressed Run & waited.");
  QTest::mouseClick(Mail.BtnSend, Qt::LeftButton);
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_EQ(Mail.result(), QDialog::Accepted);
  const QUrlQuery Query(Opened[0]);
  const QString Subject = Query.queryItemValue("subject", QUrl::FullyDecoded);
  const QString Body = Query.queryItemValue("body", QUrl::FullyDecoded);
  EXPECT_EQ(Opened[0].path(), "bugs@example.org");
  EXPECT_TRUE(Subject.contains("Something failed.")) << Subject.toStdString();
  for (const QString& Part :
       {QString("Ann <ann@example.org>"), QString("Pressed Run & waited."),
        QDir::toNativeSeparators(Mail.ScreenshotPath), QString("Where: EdSizeChange")})
    EXPECT_TRUE(Body.contains(Part)) << Part.toStdString() << "\n" << Body.toStdString();
  EXPECT_TRUE(Body.contains("\r\n"));

  // The saved screenshot carries the marks.
  ASSERT_TRUE(Mail.ScreenshotPath.startsWith(Dir.path())) << Mail.ScreenshotPath.toStdString();
  const QImage Saved(Mail.ScreenshotPath);
  ASSERT_EQ(Saved.size(), Screenshot.size());
  EXPECT_NE(Saved.pixelColor(200, 150), QColor(Qt::white));
  EXPECT_EQ(Saved.pixelColor(10, 10), QColor(Qt::white));
}
