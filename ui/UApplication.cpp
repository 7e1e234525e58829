#include "ui/UApplication.h"

#include <QClipboard>
#include <QMessageBox>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QPointer>
#include <exception>
#include <optional>

#include "report/UErrorDialog.h"
#include "report/UErrorReport.h"

namespace {

QPointer<QWidget> ReportWindow;
std::function<QString()> ReportDetails;
std::optional<TErrorLog> Log;

/// The error's report, clipboard, log and dialog; the user's choice is carried out last.
void ReportError(const QString& Message, const QString& Where) {
  const TErrorReport Report =
      ComposeErrorReport(Message, Where, ReportWindow ? ReportDetails : nullptr);
  // The picture is taken before the dialog covers anything.
  const QImage Screenshot = ReportWindow ? ReportWindow->grab().toImage() : QImage();
  QGuiApplication::clipboard()->setText(Report.Text());
  const TErrorLog::TResult Logged = TApplication::ErrorLog().Append(Report.Text());
  QWidget* Parent = QApplication::activeWindow();
  TErrorDialog Dialog(Report, Screenshot, Logged, Parent ? Parent : ReportWindow.data());
  if (Dialog.exec() == TErrorDialog::CloseChoice && TApplication::QuitProgram)
    TApplication::QuitProgram();
}

QString EventWhere(const QObject* Receiver, const QEvent* Event) {
  const char* Type = QMetaEnum::fromType<QEvent::Type>().valueToKey(Event->type());
  return QStringLiteral("%1 \"%2\", event %3")
      .arg(QString::fromLatin1(Receiver->metaObject()->className()), Receiver->objectName(),
           Type ? QString::fromLatin1(Type) : QString::number(Event->type()));
}

}  // namespace

std::function<void()> TApplication::QuitProgram = [] {
  closeAllWindows();
  quit();
};

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
  // The last net for an error no handler caught: report it and go on with the next event.
  try {
    return QApplication::notify(Receiver, Event);
  } catch (const std::exception& E) {
    ShowError(E.what(), EventWhere(Receiver, Event));
  } catch (...) {
    ShowError("Unknown error.", EventWhere(Receiver, Event));
  }
  return false;
}

void TApplication::ShowError(const std::string& Message, const QString& Where) {
  const QString Text = QString::fromStdString(Message);
  try {
    ReportError(Text, Where);
  } catch (...) {
    // Reporting failed (out of memory, say): the bare message still reaches the user.
    QMessageBox Box(QMessageBox::Critical, QStringLiteral("Error"), Text, QMessageBox::Ok,
                    activeWindow());
    Box.exec();
  }
}

void TApplication::SetReportSource(QWidget* Window, std::function<QString()> Details) {
  ReportWindow = Window;
  ReportDetails = std::move(Details);
}

void TApplication::SetErrorLog(const TErrorLog& ALog) { Log = ALog; }

TErrorLog TApplication::ErrorLog() {
  if (!Log) Log = TErrorLog::ForThisProgram();
  return *Log;
}

void RunHandler(const std::function<void()>& Handler, const QString& Where) {
  try {
    Handler();
  } catch (const std::exception& E) {
    TApplication::ShowError(E.what(), Where);
  } catch (...) {
    TApplication::ShowError("Unknown error.", Where);
  }
}

QString SignalWhere(const QObject* Sender, int SignalIndex) {
  if (!Sender) return {};
  const QString Name = Sender->objectName().isEmpty()
                           ? QString::fromLatin1(Sender->metaObject()->className())
                           : Sender->objectName();
  const QMetaMethod Signal = Sender->metaObject()->method(SignalIndex);
  return Signal.isValid() ? Name + QLatin1Char('.') + QString::fromLatin1(Signal.name()) : Name;
}
