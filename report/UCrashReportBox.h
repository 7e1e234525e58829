#pragma once
// The box that offers the report of the last run's crash at the next start.

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

/// Says that the last run crashed and where its report was logged; shows the report, copies it
/// to the clipboard and sends it by e-mail as the error dialog does. OK, the default button,
/// closes it.
class TCrashReportBox : public QDialog {
  Q_OBJECT
 public:
  TCrashReportBox(QString AReport, const QString& LogPath, QWidget* Parent = nullptr);

  const QString& Report() const { return ReportText; }
  void ShowReport(bool Shown);
  void CopyReport();
  /// Copies the report and opens the mail dialog with it (through TErrorDialog::UrlOpener).
  void SendReport();
  /// "Kart simulation 0.6 crash: SIGSEGV (invalid memory access)", from the report's lines.
  QString MailSubject() const;

  QLabel* LbLogged = nullptr;
  QLabel* LbStatus = nullptr;
  QPushButton* BtnShowReport = nullptr;
  QPlainTextEdit* Details = nullptr;
  QPushButton* BtnCopy = nullptr;
  QPushButton* BtnSendReport = nullptr;
  QPushButton* BtnOk = nullptr;

 private:
  void SayStatus(const QString& Text);

  QString ReportText;
  QString LogFolder;
};
