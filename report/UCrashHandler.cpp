#include "report/UCrashHandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <cstring>

#include "report/UBuildInfo.h"

#if __has_include(<execinfo.h>) && __has_include(<unistd.h>)
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#define KARTS_CRASH_HANDLER 1
#endif

#ifdef KARTS_CRASH_HANDLER
namespace {

// Everything the handler needs is ready before any fault: it allocates nothing and calls only
// async-signal-safe functions (open, write, close, time, raise, and backtrace warmed up below).
constexpr int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
char LogPath[4096];
char MarkerPath[4096];
char Version[64];
alignas(16) char AlternateStack[64 * 1024];  // a stack overflow leaves no room on the stack

/// Writes to the log and the marker at once; a file that would not open is skipped.
struct TCrashOut {
  int Files[2] = {-1, -1};

  void Bytes(const char* Text, size_t Size) const {
    for (const int File : Files) {
      if (File < 0) continue;
      for (size_t Done = 0; Done < Size;) {
        const ssize_t N = write(File, Text + Done, Size - Done);
        if (N <= 0) break;
        Done += static_cast<size_t>(N);
      }
    }
  }
  void Text(const char* Text) const { Bytes(Text, strlen(Text)); }
  void Number(long long Value, int Digits = 1) const {
    char Buffer[24];
    int At = sizeof Buffer;
    const bool Negative = Value < 0;
    unsigned long long Rest = Negative ? 0ULL - static_cast<unsigned long long>(Value) : Value;
    do {
      Buffer[--At] = static_cast<char>('0' + Rest % 10);
      Rest /= 10;
    } while ((Rest > 0 || sizeof Buffer - At < static_cast<size_t>(Digits)) && At > 1);
    if (Negative) Buffer[--At] = '-';
    Bytes(Buffer + At, sizeof Buffer - At);
  }
};

const char* SignalName(int Signal) {
  switch (Signal) {
    case SIGSEGV:
      return "SIGSEGV (invalid memory access)";
    case SIGABRT:
      return "SIGABRT (aborted)";
    case SIGBUS:
      return "SIGBUS (bus error)";
    case SIGFPE:
      return "SIGFPE (arithmetic fault)";
    case SIGILL:
      return "SIGILL (illegal instruction)";
    default:
      return "signal";
  }
}

/// Coordinated universal time as 2024-05-01T10:20:30Z, by arithmetic alone (no locale, no lock).
void WriteUtc(const TCrashOut& Out, long long Seconds) {
  long long Days = Seconds / 86400;
  long long Rest = Seconds % 86400;
  if (Rest < 0) Rest += 86400, --Days;
  // Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
  Days += 719468;
  const long long Era = (Days >= 0 ? Days : Days - 146096) / 146097;
  const long long DayOfEra = Days - Era * 146097;
  const long long YearOfEra =
      (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const long long DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const long long MonthIndex = (5 * DayOfYear + 2) / 153;
  const long long Day = DayOfYear - (153 * MonthIndex + 2) / 5 + 1;
  const long long Month = MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9;
  const long long Year = YearOfEra + Era * 400 + (Month <= 2);
  Out.Number(Year, 4);
  Out.Text("-");
  Out.Number(Month, 2);
  Out.Text("-");
  Out.Number(Day, 2);
  Out.Text("T");
  Out.Number(Rest / 3600, 2);
  Out.Text(":");
  Out.Number(Rest / 60 % 60, 2);
  Out.Text(":");
  Out.Number(Rest % 60, 2);
  Out.Text("Z");
}

void OnFatalSignal(int Signal) {
  const int SavedErrno = errno;
  TCrashOut Out;
  Out.Files[0] = open(LogPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  Out.Files[1] = open(MarkerPath, O_WRONLY | O_TRUNC | O_CREAT | O_CLOEXEC, 0644);
  Out.Text("\n==== Crash report ====\nSignal: ");
  Out.Text(SignalName(Signal));
  Out.Text("\nTime: ");
  WriteUtc(Out, static_cast<long long>(time(nullptr)));
  Out.Text("\nVersion: ");
  Out.Text(Version);
  Out.Text("\nBacktrace:\n");
  void* Frames[64];
  const int Count = backtrace(Frames, 64);
  for (const int File : Out.Files)
    if (File >= 0) backtrace_symbols_fd(Frames, Count, File);
  for (const int File : Out.Files)
    if (File >= 0) close(File);
  errno = SavedErrno;
  // Die of the same signal, so that the system and any debugger see the real cause.
  signal(Signal, SIG_DFL);
  raise(Signal);
}

bool CopyPath(char (&Target)[4096], const QString& Path) {
  const QByteArray Bytes = QFile::encodeName(Path);
  if (Bytes.isEmpty() || Bytes.size() >= static_cast<qsizetype>(sizeof Target)) return false;
  memcpy(Target, Bytes.constData(), Bytes.size() + 1);
  return true;
}

}  // namespace

void InstallCrashHandler(const TErrorLog& Log) {
  const QString Path = Log.ChoosePath();
  if (Path.isEmpty() || !CopyPath(LogPath, Path) ||
      !CopyPath(MarkerPath, QDir(QFileInfo(Path).absolutePath())
                                .filePath(QString::fromLatin1(TErrorLog::CrashMarkerName))))
    return;
  const QByteArray Name = ProgramVersion().toUtf8().left(sizeof Version - 1);
  memcpy(Version, Name.constData(), Name.size() + 1);
  // The first backtrace loads its unwinder, which allocates: do it now, not in the handler.
  void* Warm[2];
  backtrace(Warm, 2);

  stack_t Stack{};
  Stack.ss_sp = AlternateStack;
  Stack.ss_size = sizeof AlternateStack;
  sigaltstack(&Stack, nullptr);
  struct sigaction Action {};
  Action.sa_handler = OnFatalSignal;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_ONSTACK | SA_RESETHAND;
  for (const int Signal : FatalSignals) sigaction(Signal, &Action, nullptr);
}

#else

void InstallCrashHandler(const TErrorLog&) {}

#endif

QString TakeUnseenCrashReport(const TErrorLog& Log) {
  for (const QString& Folder : {Log.ProgramFolder, Log.DataFolder}) {
    if (Folder.isEmpty()) continue;
    QFile Marker(QDir(Folder).filePath(QString::fromLatin1(TErrorLog::CrashMarkerName)));
    if (!Marker.open(QIODevice::ReadOnly)) continue;
    const QString Report = QString::fromUtf8(Marker.readAll()).trimmed();
    Marker.close();
    // Offered once: a marker that cannot go is emptied instead.
    if (!Marker.remove() && Marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) Marker.close();
    if (!Report.isEmpty()) return Report;
  }
  return {};
}

void OfferCrashReport(QWidget* Parent, const QString& Report, const QString& LogPath) {
  QMessageBox Box(QMessageBox::Warning, QStringLiteral("The last run crashed"),
                  QStringLiteral("The program stopped unexpectedly the last time it ran."),
                  QMessageBox::Ok, Parent);
  Box.setObjectName(QStringLiteral("CrashReportBox"));
  Box.setInformativeText(
      QStringLiteral("Its report was added to %1. Press \"Show Details...\" to read it; please "
                     "send it to us with a word on what you were doing.")
          .arg(QDir::toNativeSeparators(LogPath)));
  Box.setDetailedText(Report);
  Box.exec();
}
