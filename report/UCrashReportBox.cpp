#include "report/UCrashReportBox.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

#include "report/UCrashHandler.h"
#include "report/UErrorDialog.h"
#include "report/UReportMail.h"

namespace {

QPushButton* NewButton(const QString& Name, const QString& Caption) {
  auto* Button = new QPushButton(Caption);
  Button->setObjectName(Name);
  Button->setAutoDefault(false);
  return Button;
}

}  // namespace

TCrashReportBox::TCrashReportBox(QString AReport, const QString& LogPath, QWidget* Parent)
    : QDialog(Parent), ReportText(std::move(AReport)) {
  setObjectName(QStringLiteral("CrashReportBox"));
  setWindowTitle(QStringLiteral("The last run crashed"));
  LogFolder = LogPath.isEmpty() ? QString() : QFileInfo(LogPath).absolutePath();

  auto* Icon = new QLabel;
  const int IconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  Icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(IconSize));
  auto* Message =
      new QLabel(QStringLiteral("The program stopped unexpectedly the last time it ran."));
  QFont Bold = Message->font();
  Bold.setBold(true);
  Message->setFont(Bold);
  LbLogged = new QLabel((LogPath.isEmpty()
                             ? QStringLiteral("Its report could not be added to the error log. ")
                             : QStringLiteral("Its report was added to %1. ")
                                   .arg(QDir::toNativeSeparators(LogPath))) +
                        QStringLiteral("Please send it to us with a word on what you were doing."));
  LbLogged->setObjectName(QStringLiteral("LbLogged"));
  LbStatus = new QLabel;
  LbStatus->setObjectName(QStringLiteral("LbStatus"));
  LbStatus->hide();
  for (QLabel* Label : {Message, LbLogged, LbStatus}) {
    Label->setWordWrap(true);
    Label->setTextFormat(Qt::PlainText);
    Label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  auto* Texts = new QVBoxLayout;
  Texts->addWidget(Message);
  Texts->addWidget(LbLogged);
  Texts->addWidget(LbStatus);
  auto* Head = new QHBoxLayout;
  Head->addWidget(Icon, 0, Qt::AlignTop);
  Head->addSpacing(8);
  Head->addLayout(Texts, 1);

  // A backtrace reads best unwrapped, in a fixed font, with room for its frames.
  Details = new QPlainTextEdit(ReportText);
  Details->setObjectName(QStringLiteral("Details"));
  Details->setReadOnly(true);
  Details->setTabChangesFocus(true);
  Details->setLineWrapMode(QPlainTextEdit::NoWrap);
  Details->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Details->setMinimumSize(760, 380);
  Details->hide();

  BtnShowReport = NewButton(QStringLiteral("BtnShowReport"), QStringLiteral("Show the report"));
  BtnShowReport->setCheckable(true);
  BtnCopy = NewButton(QStringLiteral("BtnCopy"), QStringLiteral("Copy the report"));
  BtnSendReport =
      NewButton(QStringLiteral("BtnSendReport"), QStringLiteral("Send report by e-mail..."));
  BtnOk = NewButton(QStringLiteral("BtnOk"), QStringLiteral("OK"));
  BtnOk->setDefault(true);
  auto* Buttons = new QHBoxLayout;
  Buttons->addWidget(BtnShowReport);
  Buttons->addWidget(BtnCopy);
  Buttons->addWidget(BtnSendReport);
  Buttons->addStretch(1);
  Buttons->addSpacing(16);
  Buttons->addWidget(BtnOk);

  auto* Box = new QVBoxLayout(this);
  Box->addLayout(Head);
  Box->addWidget(Details, 1);
  Box->addLayout(Buttons);
  Box->setSizeConstraint(QLayout::SetFixedSize);  // shrinks again when the report goes

  connect(BtnShowReport, &QPushButton::toggled, this, &TCrashReportBox::ShowReport);
  connect(BtnCopy, &QPushButton::clicked, this, &TCrashReportBox::CopyReport);
  connect(BtnSendReport, &QPushButton::clicked, this, &TCrashReportBox::SendReport);
  connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
  BtnOk->setFocus();
}

void TCrashReportBox::ShowReport(bool Shown) {
  if (BtnShowReport->isChecked() != Shown) return BtnShowReport->setChecked(Shown);
  BtnShowReport->setText(Shown ? QStringLiteral("Hide the report")
                               : QStringLiteral("Show the report"));
  Details->setVisible(Shown);
}

void TCrashReportBox::SayStatus(const QString& Text) {
  LbStatus->setText(Text);
  LbStatus->show();
}

void TCrashReportBox::CopyReport() {
  QGuiApplication::clipboard()->setText(ReportText);
  SayStatus(QStringLiteral("The report was copied to the clipboard."));
}

QString TCrashReportBox::MailSubject() const {
  const auto Line = [this](const char* Key) {
    const QRegularExpression Pattern(QStringLiteral("^%1: (.*)$").arg(QLatin1String(Key)),
                                     QRegularExpression::MultilineOption);
    return Pattern.match(ReportText).captured(1).trimmed();
  };
  return QStringLiteral("Kart simulation %1 crash: %2").arg(Line("Version"), Line("Signal"));
}

void TCrashReportBox::SendReport() {
  // The mail link may be cut short by the mail program; the clipboard holds it whole.
  CopyReport();
  const QString Folder = LogFolder.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::TempLocation)
                             : LogFolder;
  TReportMailDialog Mail(MailSubject(), ReportText, QImage(), Folder, TErrorDialog::UrlOpener,
                         this);
  Mail.setWindowTitle(QStringLiteral("Send the crash report by e-mail"));
  if (Mail.exec() == QDialog::Accepted)
    SayStatus(QStringLiteral("Your mail program was opened with the report."));
}

void OfferCrashReport(QWidget* Parent, const QString& Report, const QString& LogPath) {
  TCrashReportBox Box(Report, LogPath, Parent);
  Box.exec();
}
