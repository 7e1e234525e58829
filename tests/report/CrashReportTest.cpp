// Crash reports: a child that dies of a fatal fault leaves a backtrace naming every frame of its
// own, which the next start logs within the log's limit and offers once in a box that shows,
// copies and sends it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include "report/UBuildInfo.h"
#include "report/UCrashHandler.h"
#include "report/UCrashReportBox.h"
#include "report/UErrorDialog.h"
#include "report/UErrorLog.h"
#include "report/UReportMail.h"

namespace {

QByteArray ReadAll(const QString& Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

void RunHelper(const char* Mode, const QTemporaryDir& Dir) {
  QProcess Child;
  Child.start(CRASH_HELPER, {Mode, Dir.path(), Dir.filePath("data")});
  ASSERT_TRUE(Child.waitForFinished(60000));
  EXPECT_EQ(Child.exitStatus(), QProcess::CrashExit) << Child.readAllStandardError().toStdString();
}

/// The backtrace's lines from the faulting function's frame to main's.
QStringList OwnFrames(const QString& Report) {
  const QStringList Lines = Report.split('\n');
  qsizetype First = -1, Last = -1;
  for (qsizetype I = 0; I < Lines.size(); ++I) {
    if (First < 0 && Lines[I].contains("CrashHere")) First = I;
    if (First >= 0 && Lines[I].contains(QRegularExpression(" in main( at |$| \\()"))) {
      Last = I;
      break;
    }
  }
  return First >= 0 && Last >= 0 ? Lines.mid(First, Last - First + 1) : QStringList();
}

}  // namespace

class CrashReports : public ::testing::TestWithParam<const char*> {};

TEST_P(CrashReports, NameEveryFrameOfTheProgramAndAreOfferedOnceWithDemangledNames) {
  QTemporaryDir Dir;
  const TErrorLog Log(Dir.path(), Dir.filePath("data"));
  RunHelper(GetParam(), Dir);

  const QString Report = TakeUnseenCrashReport(Log);
  const bool Segv = QString(GetParam()) == "segv";
  for (const QString& Part :
       {QString("==== Crash report ===="), QString(Segv ? "Signal: SIGSEGV" : "Signal: SIGABRT"),
        QString("Version: ") + ProgramVersion(), QString("Backtrace:\n#00 0x")})
    EXPECT_TRUE(Report.contains(Part)) << Part.toStdString() << "\n" << Report.toStdString();
  EXPECT_TRUE(Report.startsWith("==== Crash report ====")) << Report.toStdString();

  // Every frame from the fault to main has its name, demangled, and the faulting function its
  // file and line; nothing is left mangled or unknown on the way.
  const QStringList Own = OwnFrames(Report);
  ASSERT_GE(Own.size(), 3) << Report.toStdString();
  EXPECT_TRUE(Own.front().contains(
      QRegularExpression("in \\(anonymous namespace\\)::CrashHere\\(bool, char const\\*\\)"
                         "( \\[clone \\.[a-z0-9.]+\\])* at .*CrashHelper\\.cpp:\\d+$")))
      << Own.front().toStdString();
  EXPECT_TRUE(Own.join('\n').contains("(anonymous namespace)::Crash(std::"))
      << Report.toStdString();
  for (const QString& Line : Own) {
    EXPECT_FALSE(Line.contains("??")) << Line.toStdString();
    EXPECT_FALSE(Line.contains(" _Z")) << Line.toStdString();
  }
  // The fault itself is the first frame; an abort's first frames lie in the C library.
  if (Segv) {
    EXPECT_TRUE(Report.section("Backtrace:\n", 1).startsWith(Own.front())) << Report.toStdString();
  }

  // Logged as it is taken, and offered only once.
  const QByteArray Logged = ReadAll(Log.ChoosePath());
  EXPECT_TRUE(Logged.startsWith("==== Crash report ====")) << Logged.toStdString();
  EXPECT_EQ(Logged.count("==== Crash report ===="), 1);
  EXPECT_TRUE(Logged.contains(Own.front().toUtf8()));
  EXPECT_TRUE(TakeUnseenCrashReport(Log).isEmpty()) << "offered a second time";
  EXPECT_EQ(ReadAll(Log.ChoosePath()), Logged);
}

INSTANTIATE_TEST_SUITE_P(FatalFaults, CrashReports, ::testing::Values("segv", "abort"));

TEST(CrashLog, ACrashOnAFullLogKeepsItWithinItsLimit) {
  QTemporaryDir Dir;
  const TErrorLog Log(Dir.path(), Dir.filePath("data"));
  // Ten reports and a last one that leaves the log 200 bytes short of its limit.
  const QString Filler(100 * 1024, QChar('x'));
  for (int I = 1; I <= 10; ++I)
    ASSERT_TRUE(Log.Append(QString("==== Error report ====\nReport %1\n%2\n").arg(I).arg(Filler))
                    .Problem.isEmpty());
  const qsizetype Room = TErrorLog::MaxBytes - ReadAll(Log.ChoosePath()).size() - 200;
  ASSERT_TRUE(Log.Append("==== Error report ====\n" + QString(Room - 24, QChar('y')) + "\n")
                  .Problem.isEmpty());
  const QByteArray Before = ReadAll(Log.ChoosePath());
  ASSERT_EQ(Before.size(), TErrorLog::MaxBytes - 200);

  RunHelper("segv", Dir);
  EXPECT_EQ(ReadAll(Log.ChoosePath()), Before) << "the handler wrote into the log";
  const QString Report = TakeUnseenCrashReport(Log);
  const QByteArray After = ReadAll(Log.ChoosePath());
  EXPECT_LE(After.size(), TErrorLog::MaxBytes);
  EXPECT_FALSE(After.contains("Report 1\n"));
  EXPECT_TRUE(After.startsWith("==== Error report ====\nReport 2\n"));
  EXPECT_TRUE(After.endsWith((Report + '\n').toUtf8()));
}

TEST(CrashReportBox, ShowsCopiesAndSendsTheReportAndReturnClosesIt) {
  const QString Report =
      "==== Crash report ====\nSignal: SIGSEGV (invalid memory access)\nTime: "
      "2024-05-01T10:20:30Z\nVersion: 0.6\nBacktrace:\n#00 0x55d4c3a1b2c4 in "
      "(anonymous namespace)::CrashHere(bool) at /src/tests/report/CrashHelper.cpp:24\n";
  TCrashReportBox Box(Report, "/logs/kartsim-errors.log");
  Box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Box));
  EXPECT_TRUE(Box.LbLogged->text().contains(QDir::toNativeSeparators("/logs/kartsim-errors.log")));
  EXPECT_FALSE(Box.Details->isVisible());
  QTest::mouseClick(Box.BtnShowReport, Qt::LeftButton);
  EXPECT_TRUE(Box.Details->isVisible());
  EXPECT_EQ(Box.Details->toPlainText(), Report);
  EXPECT_TRUE(Box.Details->isReadOnly());

  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(Box.BtnCopy, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Report);

  // Sending: the mail dialog, without a screenshot, carries the report under a crash subject.
  QList<QUrl> Opened;
  const auto OldOpener = TErrorDialog::UrlOpener;
  TErrorDialog::UrlOpener = [&](const QUrl& Url) {
    Opened << Url;
    return true;
  };
  QTimer::singleShot(0, [] {
    auto* Mail = qobject_cast<TReportMailDialog*>(QApplication::activeModalWidget());
    if (!Mail) return;
    EXPECT_FALSE(Mail->BtnClearMarks->isVisible());
    Mail->EdTo->setText("bugs@example.org");
    Mail->BtnSend->click();
  });
  QTest::mouseClick(Box.BtnSendReport, Qt::LeftButton);
  TErrorDialog::UrlOpener = OldOpener;
  ASSERT_EQ(Opened.size(), 1);
  const QUrlQuery Query(Opened[0]);
  EXPECT_EQ(Query.queryItemValue("subject", QUrl::FullyDecoded),
            "Kart simulation 0.6 crash: SIGSEGV (invalid memory access)");
  const QString Body = Query.queryItemValue("body", QUrl::FullyDecoded);
  EXPECT_TRUE(Body.contains(QString(Report).replace("\n", "\r\n"))) << Body.toStdString();
  EXPECT_FALSE(Body.contains("screenshot")) << Body.toStdString();
  EXPECT_TRUE(Box.isVisible());

  // Return is OK's, even from the report's pane.
  Box.Details->setFocus();
  QTest::keyClick(Box.Details, Qt::Key_Return);
  EXPECT_FALSE(Box.isVisible());
  EXPECT_EQ(Box.result(), QDialog::Accepted);
}
