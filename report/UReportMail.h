#pragma once
// Sending an error report by e-mail through the user's own mail program.

#include <QDialog>
#include <QImage>
#include <QString>
#include <QUrl>
#include <functional>

#include "report/UErrorReport.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TMarkupView;

/// A mailto: link: the address, then subject and body, every byte but the unreserved ones
/// percent-encoded and line breaks sent as CR LF, as mail links require.
QUrl ComposeMailUrl(const QString& To, const QString& Subject, const QString& Body);

/// The mail's text: the user's contact and description, where the screenshot lies (when there
/// is one), the report.
QString ComposeMailBody(const QString& Contact, const QString& Description,
                        const QString& ScreenshotNote, const QString& ReportText);

/// Asks for the address, the user's contact details and a description, lets the user mark up the
/// screenshot, then hands a mailto: link to Open. A mail link cannot carry a file: the marked
/// screenshot is saved in ScreenshotFolder and the mail says where.
class TReportMailDialog : public QDialog {
  Q_OBJECT
 public:
  TReportMailDialog(const TErrorReport& AReport, const QImage& Screenshot,
                    QString AScreenshotFolder, std::function<bool(const QUrl&)> AOpen,
                    QWidget* Parent = nullptr);
  /// Any report's text under the given subject; a null Screenshot leaves the picture out.
  TReportMailDialog(QString ASubject, QString AReportText, const QImage& Screenshot,
                    QString AScreenshotFolder, std::function<bool(const QUrl&)> AOpen,
                    QWidget* Parent = nullptr);

  /// Saves the screenshot, composes the mail and opens it; stays open and says why when it
  /// cannot.
  void Send();

  QLineEdit* EdTo = nullptr;
  QLineEdit* EdContact = nullptr;
  QPlainTextEdit* EdDescription = nullptr;
  TMarkupView* Markup = nullptr;
  QPushButton* BtnClearMarks = nullptr;
  QPushButton* BtnSend = nullptr;
  QPushButton* BtnCancel = nullptr;
  QLabel* LbStatus = nullptr;
  /// Where the last Send saved the marked screenshot; empty when it could not.
  QString ScreenshotPath;

 private:
  /// Saves the marked picture; says in the mail where, or that it could not.
  QString SaveScreenshot();

  QString Subject;
  QString ReportText;
  QString ScreenshotFolder;
  std::function<bool(const QUrl&)> Open;
};
