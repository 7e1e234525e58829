#include "report/UErrorDialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

#include "report/UErrorLog.h"
#include "report/UReportMail.h"

std::function<bool(const QUrl&)> TErrorDialog::UrlOpener = [](const QUrl& Url) {
  return QDesktopServices::openUrl(Url);
};

namespace {

QLabel* NewLabel(const QString& Name, const QString& Text = {}) {
  auto* Label = new QLabel(Text);
  Label->setObjectName(Name);
  Label->setWordWrap(true);
  Label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return Label;
}

QPushButton* NewButton(const QString& Name, const QString& Caption) {
  auto* Button = new QPushButton(Caption);
  Button->setObjectName(Name);
  Button->setAutoDefault(false);
  return Button;
}

}  // namespace

TErrorDialog::TErrorDialog(TErrorReport AReport, QImage AScreenshot, TErrorLog::TResult ALogged,
                           QWidget* Parent)
    : QDialog(Parent),
      ErrorReport(std::move(AReport)),
      Picture(std::move(AScreenshot)),
      Logged(std::move(ALogged)) {
  setObjectName(QStringLiteral("ErrorDialog"));
  setWindowTitle(QStringLiteral("Error"));

  auto* Icon = new QLabel;
  const int IconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  Icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(IconSize));
  Icon->setAlignment(Qt::AlignTop);

  LbMessage = NewLabel(QStringLiteral("LbMessage"), ErrorReport.Message);
  LbMessage->setTextFormat(Qt::PlainText);
  QFont Bold = LbMessage->font();
  Bold.setBold(true);
  LbMessage->setFont(Bold);
  LbSummary = NewLabel(QStringLiteral("LbSummary"), ErrorReport.Summary().trimmed());
  LbSummary->setTextFormat(Qt::PlainText);
  LbRunStopped =
      NewLabel(QStringLiteral("LbRunStopped"), QStringLiteral("The run was stopped. Press Run to "
                                                              "go on."));
  LbRunStopped->setVisible(ErrorReport.RunStopped);
  LbLogged = NewLabel(QStringLiteral("LbLogged"));
  LbLogged->setTextFormat(Qt::PlainText);
  LbLogged->setText(
      Logged.Problem.isEmpty()
          ? QStringLiteral("The report was copied to the clipboard and added to %1.")
                .arg(QDir::toNativeSeparators(Logged.Path))
          : QStringLiteral("The report was copied to the clipboard. It could not be added to the "
                           "error log (%1).")
                .arg(Logged.Problem));
  LbStatus = NewLabel(QStringLiteral("LbStatus"));
  LbStatus->setTextFormat(Qt::PlainText);
  LbStatus->hide();

  auto* Texts = new QVBoxLayout;
  Texts->addWidget(LbMessage);
  Texts->addWidget(LbSummary);
  Texts->addWidget(LbRunStopped);
  Texts->addWidget(LbLogged);
  Texts->addWidget(LbStatus);
  auto* Head = new QHBoxLayout;
  Head->addWidget(Icon, 0, Qt::AlignTop);
  Head->addSpacing(8);
  Head->addLayout(Texts, 1);

  Details = new QPlainTextEdit(ErrorReport.Text());
  Details->setObjectName(QStringLiteral("Details"));
  Details->setReadOnly(true);
  Details->setMinimumSize(640, 300);
  Details->hide();

  BtnDetails = NewButton(QStringLiteral("BtnDetails"), QStringLiteral("Show details"));
  BtnDetails->setCheckable(true);
  BtnSaveDetails = NewButton(QStringLiteral("BtnSaveDetails"), QStringLiteral("Save details..."));
  BtnSendReport =
      NewButton(QStringLiteral("BtnSendReport"), QStringLiteral("Send report by e-mail..."));
  BtnContinue = NewButton(QStringLiteral("BtnContinue"), QStringLiteral("Continue"));
  BtnContinue->setDefault(true);
  BtnClose = NewButton(QStringLiteral("BtnClose"), QStringLiteral("Close the program"));
  auto* Buttons = new QHBoxLayout;
  Buttons->addWidget(BtnDetails);
  Buttons->addWidget(BtnSaveDetails);
  Buttons->addWidget(BtnSendReport);
  Buttons->addStretch(1);
  Buttons->addSpacing(16);
  Buttons->addWidget(BtnContinue);
  Buttons->addWidget(BtnClose);

  auto* Box = new QVBoxLayout(this);
  Box->addLayout(Head);
  Box->addWidget(Details, 1);
  Box->addLayout(Buttons);
  Box->setSizeConstraint(QLayout::SetFixedSize);  // shrinks again when the details go

  connect(BtnDetails, &QPushButton::toggled, this, &TErrorDialog::ShowDetails);
  connect(BtnSaveDetails, &QPushButton::clicked, this, &TErrorDialog::SaveDetails);
  connect(BtnSendReport, &QPushButton::clicked, this, &TErrorDialog::SendReport);
  connect(BtnContinue, &QPushButton::clicked, this, [this] { done(ContinueChoice); });
  connect(BtnClose, &QPushButton::clicked, this, [this] { done(CloseChoice); });
  BtnContinue->setFocus();
}

void TErrorDialog::ShowDetails(bool Shown) {
  if (BtnDetails->isChecked() != Shown) return BtnDetails->setChecked(Shown);  // comes back here
  BtnDetails->setText(Shown ? QStringLiteral("Hide details") : QStringLiteral("Show details"));
  Details->setVisible(Shown);
}

void TErrorDialog::SayStatus(const QString& Text) {
  LbStatus->setText(Text);
  LbStatus->show();
}

QString TErrorDialog::SaveDetailsTo(const QString& Path) const {
  return WriteWholeFile(Path, ErrorReport.Text().toUtf8());
}

void TErrorDialog::SaveDetails() {
  QFileDialog Dialog(this, QStringLiteral("Save the error details"));
  Dialog.setObjectName(QStringLiteral("SaveDetailsDialog"));
  Dialog.setOption(QFileDialog::DontUseNativeDialog);
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  Dialog.setNameFilter(QStringLiteral("Text files (*.txt);;All files (*)"));
  Dialog.setDefaultSuffix(QStringLiteral("txt"));
  Dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  Dialog.selectFile(QStringLiteral("kartsim-error-%1.txt")
                        .arg(ErrorReport.Time.toString(QStringLiteral("yyyyMMdd-HHmmss"))));
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return;
  const QString Path = Dialog.selectedFiles().first();
  const QString Problem = SaveDetailsTo(Path);
  const QString Shown = QDir::toNativeSeparators(Path);
  SayStatus(Problem.isEmpty()
                ? QStringLiteral("The details were saved to %1.").arg(Shown)
                : QStringLiteral("The details could not be saved to %1: %2.").arg(Shown, Problem));
}

void TErrorDialog::SendReport() {
  // The screenshot goes beside the log, which is known to take files; else to the temporary folder.
  const QString Folder = Logged.Problem.isEmpty()
                             ? QFileInfo(Logged.Path).absolutePath()
                             : QStandardPaths::writableLocation(QStandardPaths::TempLocation);
  TReportMailDialog Mail(ErrorReport, Picture, Folder, UrlOpener, this);
  if (Mail.exec() == QDialog::Accepted)
    SayStatus(QStringLiteral("Your mail program was opened with the report."));
}
