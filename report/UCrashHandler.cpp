#include "report/UCrashHandler.h"

#include <cxxabi.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>
#include <memory>

#include "report/UBuildInfo.h"

#if defined(KARTS_HAVE_LIBBACKTRACE) && __has_include(<link.h>) && __has_include(<ucontext.h>)
#include <backtrace.h>
#include <fcntl.h>
#include <link.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <iterator>
#include <thread>
#define KARTS_CRASH_HANDLER 1
#endif

#ifdef KARTS_CRASH_HANDLER
namespace {

// Everything the handler needs is ready before any fault. It allocates nothing itself and calls
// only async-signal-safe system calls (open, write, fstat, close, time, signal masks) and
// libbacktrace, which is made for signal handlers (it takes its memory with mmap, never malloc)
// and has read the symbol tables and the outline of the debug information at the start.
constexpr int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr int MaxFrames = 64;
constexpr int MaxInlined = 8;    // calls inlined into one frame, named one a line
constexpr size_t MaxName = 600;  // longer names are cut (a report stays a few tens of KiB)
char MarkerPath[4096];
char Version[64];
backtrace_state* Symbols = nullptr;
alignas(16) char AlternateStack[256 * 1024];  // a stack overflow leaves no room on the stack
std::atomic<long> HandlingThread{0};

/// The loaded files as they stood at installation: a frame without any name still says where
/// it lies (file and offset), which its file's symbols resolve later.
struct TModule {
  uintptr_t Start = 0, End = 0, Base = 0;
  char Name[128] = {};
};
TModule Modules[256];
int ModuleCount = 0;

void CopyName(char* Target, size_t Size, const char* Path) {
  const char* Slash = strrchr(Path, '/');
  const char* Name = Slash ? Slash + 1 : Path;
  strncpy(Target, Name, Size - 1);
  Target[Size - 1] = '\0';
}

int NoteModule(dl_phdr_info* Info, size_t, void*) {
  if (ModuleCount >= static_cast<int>(std::size(Modules))) return 1;
  TModule& M = Modules[ModuleCount];
  M.Start = UINTPTR_MAX;
  for (int I = 0; I < Info->dlpi_phnum; ++I) {
    const ElfW(Phdr)& P = Info->dlpi_phdr[I];
    if (P.p_type != PT_LOAD) continue;
    M.Start = std::min<uintptr_t>(M.Start, Info->dlpi_addr + P.p_vaddr);
    M.End = std::max<uintptr_t>(M.End, Info->dlpi_addr + P.p_vaddr + P.p_memsz);
  }
  if (M.Start >= M.End) return 0;
  M.Base = Info->dlpi_addr;
  char Program[4096];
  const char* Path = Info->dlpi_name;
  if (!Path || !*Path) {  // the program itself
    const ssize_t N = readlink("/proc/self/exe", Program, sizeof Program - 1);
    Program[N > 0 ? N : 0] = '\0';
    Path = Program;
  }
  CopyName(M.Name, sizeof M.Name, Path);
  ++ModuleCount;
  return 0;
}

const TModule* ModuleOf(uintptr_t Pc) {
  for (int I = 0; I < ModuleCount; ++I)
    if (Pc >= Modules[I].Start && Pc < Modules[I].End) return &Modules[I];
  return nullptr;
}

/// Writes to the unseen report's file; a file that would not open takes nothing.
struct TCrashOut {
  int File = -1;

  void Bytes(const char* Text, size_t Size) const {
    if (File < 0) return;
    for (size_t Done = 0; Done < Size;) {
      const ssize_t N = write(File, Text + Done, Size - Done);
      if (N <= 0) break;
      Done += static_cast<size_t>(N);
    }
  }
  void Text(const char* Text) const { Bytes(Text, strlen(Text)); }
  void Name(const char* Text) const {
    const size_t Size = strlen(Text);
    Bytes(Text, std::min(Size, MaxName));
    if (Size > MaxName) this->Text("...");
  }
  void Number(unsigned long long Value, int Digits = 1, unsigned Base = 10) const {
    char Buffer[24];
    int At = sizeof Buffer;
    do {
      Buffer[--At] = "0123456789abcdef"[Value % Base];
      Value /= Base;
    } while ((Value > 0 || static_cast<int>(sizeof Buffer) - At < Digits) && At > 0);
    Bytes(Buffer + At, sizeof Buffer - At);
  }
  void Hex(uintptr_t Value) const {
    Text("0x");
    Number(Value, 1, 16);
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
  Out.Number(static_cast<unsigned long long>(Year), 4);
  Out.Text("-");
  Out.Number(static_cast<unsigned long long>(Month), 2);
  Out.Text("-");
  Out.Number(static_cast<unsigned long long>(Day), 2);
  Out.Text("T");
  Out.Number(static_cast<unsigned long long>(Rest / 3600), 2);
  Out.Text(":");
  Out.Number(static_cast<unsigned long long>(Rest / 60 % 60), 2);
  Out.Text(":");
  Out.Number(static_cast<unsigned long long>(Rest % 60), 2);
  Out.Text("Z");
}

// What libbacktrace says of the frames, gathered in fixed storage: it may reuse its buffers once
// a callback returns.
uintptr_t Frames[MaxFrames];
int FrameCount = 0;
struct TPlace {
  char Function[MaxName + 1];
  char File[512];
  int Line;
};
TPlace Places[MaxInlined];
int PlaceCount = 0;
char Symbol[MaxName + 1];

void Ignore(void*, const char*, int) {}

int NoteFrame(void*, uintptr_t Pc) {
  if (Pc == UINTPTR_MAX) return 1;  // the end of the stack
  Frames[FrameCount++] = Pc;
  return FrameCount == MaxFrames;
}

int NotePlace(void*, uintptr_t, const char* File, int Line, const char* Function) {
  if (!File && !Function) return 0;
  TPlace& P = Places[PlaceCount++];
  strncpy(P.Function, Function ? Function : "", sizeof P.Function - 1);
  P.Function[sizeof P.Function - 1] = '\0';
  strncpy(P.File, File ? File : "", sizeof P.File - 1);
  P.File[sizeof P.File - 1] = '\0';
  P.Line = Line;
  return PlaceCount == MaxInlined;
}

void NoteSymbol(void*, uintptr_t, const char* Name, uintptr_t, uintptr_t) {
  strncpy(Symbol, Name ? Name : "", sizeof Symbol - 1);
  Symbol[sizeof Symbol - 1] = '\0';
}

/// One frame: its name (the symbol table's, which names local functions and .cold parts too),
/// the file and line where debug information has them, one line for each call inlined there;
/// without a file, the loaded file and offset instead. Names stay mangled here: demangling
/// allocates. The report is demangled when it is taken.
void WriteFrame(const TCrashOut& Out, int Number, uintptr_t Pc) {
  Symbol[0] = '\0';
  PlaceCount = 0;
  backtrace_syminfo(Symbols, Pc, NoteSymbol, Ignore, nullptr);
  backtrace_pcinfo(Symbols, Pc, NotePlace, Ignore, nullptr);
  // Places come innermost first; the last one is the function the frame belongs to.
  for (int I = 0; I < std::max(PlaceCount, 1); ++I) {
    const bool Outermost = I + 1 >= PlaceCount;
    const TPlace* P = PlaceCount > 0 ? &Places[I] : nullptr;
    const char* Name = Outermost && Symbol[0] ? Symbol : P && P->Function[0] ? P->Function : "??";
    Out.Text("#");
    Out.Number(static_cast<unsigned>(Number), 2);
    Out.Text(" ");
    Out.Hex(Pc);
    Out.Text(Outermost ? " in " : " inlined in ");
    Out.Name(Name);
    if (P && P->File[0]) {
      Out.Text(" at ");
      Out.Name(P->File);
      Out.Text(":");
      Out.Number(static_cast<unsigned>(std::max(P->Line, 0)));
    } else if (const TModule* M = ModuleOf(Pc)) {
      Out.Text(" (");
      Out.Text(M->Name);
      Out.Text("+");
      Out.Hex(Pc - M->Base);
      Out.Text(")");
    }
    Out.Text("\n");
  }
}

uintptr_t FaultAddress(const void* Context) {
  const auto* U = static_cast<const ucontext_t*>(Context);
#if defined(__x86_64__)
  return static_cast<uintptr_t>(U->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return static_cast<uintptr_t>(U->uc_mcontext.pc);
#else
  (void)U;
  return 0;
#endif
}

[[noreturn]] void DieOf(int Signal) {
  // Die of the same signal, so that the system and any debugger see the real cause.
  signal(Signal, SIG_DFL);
  sigset_t Unblocked;
  sigemptyset(&Unblocked);
  sigaddset(&Unblocked, Signal);
  sigprocmask(SIG_UNBLOCK, &Unblocked, nullptr);  // blocked while its handler runs
  raise(Signal);
  _exit(128 + Signal);
}

void OnFatalSignal(int Signal, siginfo_t*, void* Context) {
  const long Thread = syscall(SYS_gettid);
  long Expected = 0;
  if (!HandlingThread.compare_exchange_strong(Expected, Thread)) {
    if (Expected == Thread) DieOf(Signal);  // a fault while reporting one
    for (;;) pause();                       // another thread is reporting; it ends the process
  }
  const int SavedErrno = errno;
  TCrashOut Out;
  Out.File = open(MarkerPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  // Reports wait there until the next start logs them; a file already full takes no more.
  struct stat Info {};
  if (Out.File >= 0 && fstat(Out.File, &Info) == 0 && Info.st_size >= TErrorLog::MaxBytes) {
    close(Out.File);
    Out.File = -1;
  }
  Out.Text("\n==== Crash report ====\nSignal: ");
  Out.Text(SignalName(Signal));
  Out.Text("\nTime: ");
  WriteUtc(Out, static_cast<long long>(time(nullptr)));
  Out.Text("\nVersion: ");
  Out.Text(Version);
  Out.Text("\nBacktrace:\n");
  FrameCount = 0;
  backtrace_simple(Symbols, 0, NoteFrame, Ignore, nullptr);
  // The handler's own frames and the system's signal return come first: start at the fault.
  int First = 0;
  const uintptr_t Fault = FaultAddress(Context);
  for (int I = 0; I < FrameCount; ++I)
    if (Frames[I] == Fault) {
      First = I;
      break;
    }
  for (int I = First; I < FrameCount; ++I) WriteFrame(Out, I - First, Frames[I]);
  if (Out.File >= 0) close(Out.File);
  errno = SavedErrno;
  DieOf(Signal);
}

/// One look-up of each kind, on storage of its own (the handler's may be in use).
void ReadSymbols() {
  uintptr_t Pc = 0;
  const auto TakePc = [](void* Data, uintptr_t At) {
    return *static_cast<uintptr_t*>(Data) = At, 1;
  };
  const auto TakePlace = [](void*, uintptr_t, const char*, int, const char*) { return 1; };
  const auto TakeSymbol = [](void*, uintptr_t, const char*, uintptr_t, uintptr_t) {};
  backtrace_simple(Symbols, 0, TakePc, Ignore, &Pc);
  backtrace_pcinfo(Symbols, Pc, TakePlace, Ignore, nullptr);
  backtrace_syminfo(Symbols, Pc, TakeSymbol, Ignore, nullptr);
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
  if (Path.isEmpty() ||
      !CopyPath(MarkerPath, QDir(QFileInfo(Path).absolutePath())
                                .filePath(QString::fromLatin1(TErrorLog::CrashMarkerName))))
    return;
  const QByteArray Name = ProgramVersion().toUtf8().left(sizeof Version - 1);
  memcpy(Version, Name.constData(), Name.size() + 1);
  if (!Symbols) Symbols = backtrace_create_state(nullptr, 1, Ignore, nullptr);
  if (!Symbols) return;
  ModuleCount = 0;
  dl_iterate_phdr(NoteModule, nullptr);
  // The first look-up reads every loaded file's symbols and the outline of its debug
  // information (a tenth of a second and more where the system's debug files are installed):
  // done beside the program's start rather than in the handler. The state is made for threads.
  std::thread(ReadSymbols).detach();

  stack_t Stack{};
  Stack.ss_sp = AlternateStack;
  Stack.ss_size = sizeof AlternateStack;
  sigaltstack(&Stack, nullptr);
  struct sigaction Action {};
  Action.sa_sigaction = OnFatalSignal;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_ONSTACK | SA_SIGINFO;
  for (const int Signal : FatalSignals) sigaction(Signal, &Action, nullptr);
}

#else

void InstallCrashHandler(const TErrorLog&) {}

#endif

namespace {

/// The report with every mangled C++ name written as in the source.
QString DemangleNames(const QString& Text) {
  // Itanium names, with the suffixes of GCC's clones (.cold, .isra.0, .constprop.0).
  static const QRegularExpression Mangled(QStringLiteral("\\b_Z[A-Za-z0-9_$]+(\\.[A-Za-z0-9_]+)*"));
  QString Result;
  qsizetype Done = 0;
  for (auto It = Mangled.globalMatch(Text); It.hasNext();) {
    const QRegularExpressionMatch Match = It.next();
    int Status = -1;
    const std::unique_ptr<char, void (*)(void*)> Plain(
        abi::__cxa_demangle(Match.captured().toLatin1().constData(), nullptr, nullptr, &Status),
        std::free);
    Result += QStringView(Text).mid(Done, Match.capturedStart() - Done);
    Result += Status == 0 && Plain ? QString::fromUtf8(Plain.get()) : Match.captured();
    Done = Match.capturedEnd();
  }
  return Result += QStringView(Text).mid(Done);
}

}  // namespace

QString TakeUnseenCrashReport(const TErrorLog& Log) {
  QString Reports;
  for (const QString& Folder : {Log.ProgramFolder, Log.DataFolder}) {
    if (Folder.isEmpty()) continue;
    QFile Marker(QDir(Folder).filePath(QString::fromLatin1(TErrorLog::CrashMarkerName)));
    if (!Marker.open(QIODevice::ReadOnly)) continue;
    const QString Report = QString::fromUtf8(Marker.read(2 * TErrorLog::MaxBytes)).trimmed();
    Marker.close();
    // Offered once: a marker that cannot go is emptied instead.
    if (!Marker.remove() && Marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) Marker.close();
    if (!Report.isEmpty())
      Reports += (Reports.isEmpty() ? QString() : QStringLiteral("\n")) + Report;
  }
  if (Reports.isEmpty()) return {};
  Reports = DemangleNames(Reports) + QLatin1Char('\n');
  // The log keeps its limit: the oldest reports make room.
  Log.Append(Reports);
  return Reports.trimmed();
}
