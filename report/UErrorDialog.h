#pragma once
// The dialog that reports an error a handler raised, and what the user may do about it.

#include <QDialog>
#include <QImage>
#include <QUrl>
#include <functional>

#include "report/UErrorLog.h"
#include "report/UErrorReport.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

/// Names the error (message, where, when, version), says where the report went, shows the full
/// report on request, saves it, sends it by e-mail with a screenshot the user may mark up, and
/// ends in Continue or Close the program (the dialog's result).
class TErrorDialog : public QDialog {
  Q_OBJECT
 public:
  enum TChoice { ContinueChoice = QDialog::Accepted, CloseChoice = 2 };

  /// Screenshot: the window as it was when the error came. Logged: where the log went.
  TErrorDialog(TErrorReport AReport, QImage AScreenshot, TErrorLog::TResult ALogged,
               QWidget* Parent = nullptr);

  const TErrorReport& Report() const { return ErrorReport; }
  const QImage& Screenshot() const { return Picture; }

  void ShowDetails(bool Shown);
  /// Asks for a file and writes the report to it, saying in the dialog whether that worked.
  void SaveDetails();
  /// Writes the report to Path, whole or not at all; returns why it failed, or nothing.
  QString SaveDetailsTo(const QString& Path) const;
  void SendReport();

  /// Opens the mail link; the default is the desktop's handler. Tests replace it so that no mail
  /// program starts.
  static std::function<bool(const QUrl&)> UrlOpener;

  QLabel* LbMessage = nullptr;
  QLabel* LbSummary = nullptr;
  QLabel* LbRunStopped = nullptr;
  QLabel* LbLogged = nullptr;
  QLabel* LbStatus = nullptr;
  QPushButton* BtnDetails = nullptr;
  QPlainTextEdit* Details = nullptr;
  QPushButton* BtnSaveDetails = nullptr;
  QPushButton* BtnSendReport = nullptr;
  QPushButton* BtnContinue = nullptr;
  QPushButton* BtnClose = nullptr;

 private:
  void SayStatus(const QString& Text);

  TErrorReport ErrorReport;
  QImage Picture;
  TErrorLog::TResult Logged;
};
