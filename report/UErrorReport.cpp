#include "report/UErrorReport.h"

#include <QSysInfo>
#include <exception>

#include "report/UBuildInfo.h"

namespace {

bool RunStoppedNoted = false;

/// Whether the run loop was ended by the error being reported; clears the note.
bool TakeRunStopped() { return std::exchange(RunStoppedNoted, false); }

}  // namespace

void NoteRunStopped() { RunStoppedNoted = true; }

QString EnvironmentDescription() {
  return QStringLiteral("Qt %1 (built with %2), %3, kernel %4 %5, %6")
      .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
           QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
           QSysInfo::currentCpuArchitecture());
}

TErrorReport ComposeErrorReport(const QString& Message, const QString& Where,
                                const std::function<QString()>& Details) {
  TErrorReport Report;
  Report.Message = Message;
  Report.Where = Where;
  const QDateTime Now = QDateTime::currentDateTime();
  Report.Time = Now.toOffsetFromUtc(Now.offsetFromUtc());  // written with its offset from UTC
  Report.Version = ProgramVersion();
  Report.RunStopped = TakeRunStopped();
  // The report must come even when the settings cannot be read.
  try {
    if (Details) Report.Details = Details();
  } catch (const std::exception& E) {
    Report.Details = QStringLiteral("(the settings could not be read: %1)").arg(E.what());
  } catch (...) {
    Report.Details = QStringLiteral("(the settings could not be read)");
  }
  Report.Environment = EnvironmentDescription();
  return Report;
}

QString TErrorReport::Summary() const {
  QString Text;
  if (!Where.isEmpty()) Text += QStringLiteral("Where: %1\n").arg(Where);
  Text += QStringLiteral("Time: %1\n").arg(Time.toString(Qt::ISODate));
  Text += QStringLiteral("Version: %1\n").arg(Version);
  return Text;
}

QString TErrorReport::Text() const {
  QString Text = QStringLiteral("Error: %1\n").arg(Message);
  Text += Summary();
  if (RunStopped) Text += QStringLiteral("The run was stopped by this error.\n");
  Text += QStringLiteral("-- Settings --\n");
  Text += Details.isEmpty() ? QStringLiteral("(none)\n") : Details;
  if (!Text.endsWith(QLatin1Char('\n'))) Text += QLatin1Char('\n');
  Text += QStringLiteral("-- System --\n%1\n").arg(Environment);
  // Only the first line may look like the start of a report, or the log would be cut inside one.
  const QString Marker = QString::fromLatin1(ReportMarker);
  Text.replace(QLatin1Char('\n') + Marker, QStringLiteral("\n ") + Marker);
  if (Text.startsWith(Marker)) Text.prepend(QLatin1Char(' '));
  return Marker + QStringLiteral("Error report ====\n") + Text;
}
