#include "report/UReportMail.h"

#include <QDateTime>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>
#include <utility>

#include "report/UBuildInfo.h"
#include "report/UMarkupView.h"

namespace {

/// Mail links carry line breaks as CR LF.
QByteArray EncodeText(QString Text) {
  Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  Text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return QUrl::toPercentEncoding(Text);
}

}  // namespace

QUrl ComposeMailUrl(const QString& To, const QString& Subject, const QString& Body) {
  const QByteArray Encoded = "mailto:" + QUrl::toPercentEncoding(To.trimmed(), "@") +
                             "?subject=" + EncodeText(Subject) + "&body=" + EncodeText(Body);
  return QUrl::fromEncoded(Encoded, QUrl::StrictMode);
}

QString ComposeMailBody(const QString& Contact, const QString& Description,
                        const QString& ScreenshotNote, const QString& ReportText) {
  return QStringLiteral("Contact: %1\n\nWhat I was doing:\n%2\n\n%3%4")
      .arg(Contact.isEmpty() ? QStringLiteral("(not given)") : Contact,
           Description.isEmpty() ? QStringLiteral("(not given)") : Description,
           ScreenshotNote.isEmpty() ? QString() : ScreenshotNote + QStringLiteral("\n\n"),
           ReportText);
}

TReportMailDialog::TReportMailDialog(const TErrorReport& AReport, const QImage& Screenshot,
                                     QString AScreenshotFolder,
                                     std::function<bool(const QUrl&)> AOpen, QWidget* Parent)
    : TReportMailDialog(QStringLiteral("Kart simulation %1 error: %2")
                            .arg(AReport.Version, AReport.Message.section(QLatin1Char('\n'), 0, 0)),
                        AReport.Text(), Screenshot, std::move(AScreenshotFolder), std::move(AOpen),
                        Parent) {}

TReportMailDialog::TReportMailDialog(QString ASubject, QString AReportText,
                                     const QImage& Screenshot, QString AScreenshotFolder,
                                     std::function<bool(const QUrl&)> AOpen, QWidget* Parent)
    : QDialog(Parent),
      Subject(std::move(ASubject)),
      ReportText(std::move(AReportText)),
      ScreenshotFolder(std::move(AScreenshotFolder)),
      Open(std::move(AOpen)) {
  setObjectName(QStringLiteral("ReportMailDialog"));
  setWindowTitle(QStringLiteral("Send an error report by e-mail"));

  EdTo = new QLineEdit(ReportAddress());
  EdTo->setObjectName(QStringLiteral("EdTo"));
  EdTo->setPlaceholderText(QStringLiteral("address to send the report to"));
  EdContact = new QLineEdit;
  EdContact->setObjectName(QStringLiteral("EdContact"));
  EdContact->setPlaceholderText(QStringLiteral("your name and e-mail, so that we can answer"));
  EdDescription = new QPlainTextEdit;
  EdDescription->setObjectName(QStringLiteral("EdDescription"));
  EdDescription->setPlaceholderText(QStringLiteral("What were you doing when the error came?"));
  EdDescription->setFixedHeight(80);
  auto* Fields = new QFormLayout;
  Fields->addRow(QStringLiteral("To:"), EdTo);
  Fields->addRow(QStringLiteral("Your contact:"), EdContact);
  Fields->addRow(QStringLiteral("Description:"), EdDescription);

  Markup = new TMarkupView;
  Markup->SetPicture(Screenshot);
  auto* Hint = new QLabel(
      QStringLiteral("The window when the error came. Draw on it with the mouse to show what "
                     "went wrong."));
  Hint->setWordWrap(true);

  LbStatus = new QLabel;
  LbStatus->setObjectName(QStringLiteral("LbStatus"));
  LbStatus->setWordWrap(true);
  LbStatus->hide();

  BtnClearMarks = new QPushButton(QStringLiteral("Clear marks"));
  BtnClearMarks->setObjectName(QStringLiteral("BtnClearMarks"));
  BtnSend = new QPushButton(QStringLiteral("Send..."));
  BtnSend->setObjectName(QStringLiteral("BtnSend"));
  BtnSend->setDefault(true);
  BtnCancel = new QPushButton(QStringLiteral("Cancel"));
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  auto* Buttons = new QHBoxLayout;
  Buttons->addWidget(BtnClearMarks);
  Buttons->addStretch(1);
  Buttons->addWidget(BtnSend);
  Buttons->addWidget(BtnCancel);

  auto* Box = new QVBoxLayout(this);
  Box->addLayout(Fields);
  Box->addWidget(Hint);
  Box->addWidget(Markup, 1);
  Box->addWidget(LbStatus);
  Box->addLayout(Buttons);

  // A crash leaves no picture of the window.
  Markup->setVisible(!Screenshot.isNull());
  Hint->setVisible(!Screenshot.isNull());
  BtnClearMarks->setVisible(!Screenshot.isNull());

  connect(BtnClearMarks, &QPushButton::clicked, Markup, &TMarkupView::ClearMarks);
  connect(BtnSend, &QPushButton::clicked, this, &TReportMailDialog::Send);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TReportMailDialog::SaveScreenshot() {
  ScreenshotPath.clear();
  const QImage Picture = Markup->MarkedPicture();
  if (Picture.isNull()) return {};
  const QString Path =
      QDir(ScreenshotFolder)
          .filePath(
              QStringLiteral("kartsim-screenshot-%1.png")
                  .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
  QSaveFile File(Path);
  QImageWriter Writer(&File, "png");
  if (!File.open(QIODevice::WriteOnly) || !Writer.write(Picture) || !File.commit())
    return QStringLiteral("The screenshot could not be saved in %1.")
        .arg(QDir::toNativeSeparators(ScreenshotFolder));
  ScreenshotPath = Path;
  return QStringLiteral(
             "The screenshot, marked up, is saved at %1 (a mail link cannot attach "
             "it: please attach it yourself).")
      .arg(QDir::toNativeSeparators(Path));
}

void TReportMailDialog::Send() {
  const QString To = EdTo->text().trimmed();
  if (To.isEmpty()) {
    LbStatus->setText(QStringLiteral("Type the address to send the report to."));
    LbStatus->show();
    EdTo->setFocus();
    return;
  }
  const QString Note = SaveScreenshot();
  const QString Body =
      ComposeMailBody(EdContact->text().trimmed(), EdDescription->toPlainText(), Note, ReportText);
  if (Open && Open(ComposeMailUrl(To, Subject, Body))) return accept();
  LbStatus->setText(QStringLiteral("No mail program could be opened. %1 The report is on the "
                                   "clipboard.")
                        .arg(Note));
  LbStatus->show();
}
