// Started by the crash-report tests as a child process: it installs the crash handler and dies
// of a fatal fault two calls deep, in functions that only the symbol table names (an unnamed
// namespace; in optimised builds the abort lies in a .cold part). By hand, "show" offers the
// unseen report as the program's next start does (run it under a real display).
// Usage: crash_helper segv|abort|show PROGRAM_FOLDER DATA_FOLDER

#include <QApplication>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/UCrashHandler.h"

namespace {

__attribute__((noinline)) void CrashHere(bool Segv, const char* Why) {
  if (!Segv) [[unlikely]] {
    // The string's clean-up on this path is what GCC moves out to a .cold part.
    const std::string Text = std::string("crash_helper: aborting ") + Why + "\n";
    std::fputs(Text.c_str(), stderr);
    std::abort();
  }
  volatile std::uintptr_t Address = 16;  // never mapped
  *reinterpret_cast<volatile int*>(Address) = 1;
}

__attribute__((noinline)) int Crash(const std::string& Mode) {
  CrashHere(Mode == "segv", "on purpose");
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const TErrorLog Log(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  if (std::string(argv[1]) == "show") {
    QApplication App(argc, argv);
    const QString Report = TakeUnseenCrashReport(Log);
    if (Report.isEmpty()) return 1;
    OfferCrashReport(nullptr, Report, Log.ChoosePath());
    return 0;
  }
  InstallCrashHandler(Log);
  return Crash(argv[1]);
}
