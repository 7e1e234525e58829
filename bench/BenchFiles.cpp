// Memory and time of reading and writing the largest files the program accepts: the largest
// circuit picture, a scenario holding it (as this program writes it, and as large as a reader
// takes), and saving a scenario of that circuit. Each case runs in a child process of its own, so
// that its peak is its own: the peak resident memory it added is printed beside the size of the
// decoded picture (4 bytes a pixel), which the limit is stated against.
//
// Usage: bench_files [FOLDER]   (files are made in FOLDER, default a temporary folder)

#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "agents/UKart.h"
#include "io/UCircuitFile.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "world/URaceSetup.h"
#include "world/UTrack2D.h"

namespace {

/// A field of /proc/self/status in KiB ("VmHWM:", "VmRSS:").
long StatusKiB(const char* Field) {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind(Field, 0) == 0)
      return std::strtol(Line.c_str() + std::strlen(Field), nullptr, 10);
  return -1;
}

/// Resets the peak to what is resident now (Linux 4.0 and later).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

/// The largest circuit: MaxCircuitPixels as a square, with road and off-road in every row.
QImage LargestCircuit() {
  int Side = 1;
  while (int64_t(Side + 1) * (Side + 1) <= MaxCircuitPixels) ++Side;
  QImage Image(Side, Side, QImage::Format_RGB32);
  for (int Y = 0; Y < Side; ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    for (int X = 0; X < Side; ++X)
      Row[X] = (X / 64 + Y / 64) % 3 ? qRgb(255, 206, 61) : qRgb(0, 0, 0);
  }
  return Image;
}

/// A race of Karts karts on Circuit, as a scenario.
TScenario RaceOn(const QImage& Circuit, int Karts) {
  TQtPicture Picture(Circuit);
  TTrack2D Track;
  Track.SetImage(&Picture);
  TKartList List;
  for (int I = 0; I < Karts; ++I) AddKart(Track, List, TKartSettings{});
  return CaptureScenario(Track, List, 1, 0, MoveBudgetMs);
}

/// Runs Setup, then Work, and prints the time and the peak memory that Work added.
int Measure(const char* Name, double PictureMiB, const std::function<void()>& Setup,
            const std::function<bool()>& Work) {
  if (Setup) Setup();
  ResetPeak();
  const long Before = StatusKiB("VmRSS:");
  const auto T0 = std::chrono::steady_clock::now();
  const bool Ok = Work();
  const double Seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - T0).count();
  const double Added = (StatusKiB("VmHWM:") - Before) / 1024.0;
  std::printf("%-52s %s %8.1f MiB added at peak = %4.2fx the decoded picture, %5.2f s\n", Name,
              Ok ? "ok    " : "FAILED", Added, Added / PictureMiB, Seconds);
  return Ok ? 0 : 1;
}

}  // namespace

int main(int Argc, char** Argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication App(Argc, Argv);
  // bench_files --case N FOLDER: one case, in a process of its own so that its peak is its own.
  const bool OneCase = Argc == 4 && std::strcmp(Argv[1], "--case") == 0;
  QTemporaryDir Temporary;
  const QDir Folder(OneCase    ? QString::fromLocal8Bit(Argv[3])
                    : Argc > 1 ? QString::fromLocal8Bit(Argv[1])
                               : Temporary.path());
  const QString Bmp = Folder.filePath("largest.bmp");
  const QString Scenario = Folder.filePath("largest.json");
  const QString Padded = Folder.filePath("padded.json");
  const QString Saved = Folder.filePath("saved.json");
  const QImage Circuit = LargestCircuit();
  const double PictureMiB = Circuit.sizeInBytes() / 1048576.0;

  if (OneCase) {
    // The race as the window holds it: its circuit on the track, then captured and written.
    TQtPicture Picture(1, 1);
    TTrack2D Track;
    TKartList List;
    switch (std::atoi(Argv[2])) {
      case 0:
        return Measure("read the largest circuit", PictureMiB, {},
                       [&] { return ReadCircuitPicture(Bmp).Ok(); });
      case 1:
        return Measure("load the largest scenario", PictureMiB, {},
                       [&] { return ReadScenarioFile(Scenario).Ok(); });
      case 2:
        return Measure("load a scenario as large as the reader takes", PictureMiB, {},
                       [&] { return ReadScenarioFile(Padded).Ok(); });
      default:
        return Measure(
            "save a scenario of the largest circuit, 100 karts", PictureMiB,
            [&] {
              Picture.Image() = Circuit;
              Track.SetImage(&Picture);
              for (int I = 0; I < KartsRange.Max; ++I) AddKart(Track, List, TKartSettings{});
            },
            [&] {
              return WriteScenarioFile(Saved, CaptureScenario(Track, List, 1, 0, MoveBudgetMs))
                  .isEmpty();
            });
    }
  }

  std::printf("largest circuit: %d x %d pixels, %.1f MiB decoded\n", Circuit.width(),
              Circuit.height(), PictureMiB);
  {
    QFile File(Bmp);
    if (!File.open(QIODevice::WriteOnly) || !Circuit.save(&File, "BMP")) return 1;
    const TScenario Race = RaceOn(Circuit, static_cast<int>(KartsRange.Max));
    if (!WriteScenarioFile(Scenario, Race).isEmpty()) return 1;
    // As large as a reader takes: the same race with the rest of the allowance as spaces.
    QFile In(Scenario), Out(Padded);
    if (!In.open(QIODevice::ReadOnly) || !Out.open(QIODevice::WriteOnly)) return 1;
    QByteArray Json = In.readAll();
    Json.insert(Json.size() - 2, QByteArray(MaxScenarioBytes - Json.size(), ' '));
    Out.write(Json);
  }
  std::printf("files: circuit %.1f MiB, scenario %.1f MiB (100 karts), padded scenario %.1f MiB\n",
              QFileInfo(Bmp).size() / 1048576.0, QFileInfo(Scenario).size() / 1048576.0,
              QFileInfo(Padded).size() / 1048576.0);
  std::fflush(stdout);
  int Failures = 0;
  for (const char* Case : {"0", "1", "2", "3"}) {
    const pid_t Child = fork();
    if (Child == 0) {
      execl(Argv[0], Argv[0], "--case", Case, Folder.path().toLocal8Bit().constData(), nullptr);
      _exit(127);
    }
    int Status = 0;
    waitpid(Child, &Status, 0);
    Failures += !(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
  }
  return Failures;
}
