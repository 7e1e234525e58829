#include "io/UScenario.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UAtomicFile.h"
#include "io/UFileKind.h"
#include "io/UPicture.h"
#include "world/UTrack2D.h"

std::array<uint64_t, 4> SaveRandomSource() {
  std::array<uint64_t, 4> State{};
  std::copy(std::begin(KartRandom::Global.S), std::end(KartRandom::Global.S), State.begin());
  return State;
}

void RestoreRandomSource(const std::array<uint64_t, 4>& State) {
  std::copy(State.begin(), State.end(), std::begin(KartRandom::Global.S));
}

QByteArray CircuitToBmp(const QImage& Circuit) {
  QByteArray Bytes;
  QBuffer Out(&Bytes);
  Out.open(QIODevice::WriteOnly);
  // RGB888 is written with 24 bits per pixel whatever the picture held.
  Circuit.convertToFormat(QImage::Format_RGB888).save(&Out, "BMP");
  return Bytes;
}

namespace {

TScenarioKart RecordKart(const TKart& Kart) {
  TScenarioKart R;
  const TState& S = *Kart.RealState;
  for (const auto& P : S.Params)
    R.Params.push_back({P->Name, P->Value, P->PrevValue, P->IntValue, P->MinValue, P->MaxValue,
                        P->Precision, P->KeepPrevious});
  R.Score = S.Score;
  R.TeamAvgScore = S.TeamAvgScore;
  R.ScoreFactor = S.ScoreFactor;
  R.FutureCount = S.FutureCount;
  R.GridSize = Kart.GridSize;
  R.Color = Kart.Color;
  R.AutoGrid = Kart.AutoGrid;
  R.UseRefined = Kart.UseRefined;
  R.DebugLevel = static_cast<int32_t>(Kart.DebugLevel);
  return R;
}

void RestoreKart(const TScenarioKart& R, TKart& Kart) {
  TState& S = *Kart.RealState;
  // The reader has checked that the names match the kart's parameters one for one.
  for (size_t I = 0; I < R.Params.size() && I < S.Params.size(); ++I) {
    TStateParam& P = *S.Params[I];
    const TParamRecord& F = R.Params[I];
    P.Value = F.Value;
    P.PrevValue = F.PrevValue;
    P.IntValue = F.IntValue;
    P.MinValue = F.MinValue;
    P.MaxValue = F.MaxValue;
    P.Precision = F.Precision;
    P.KeepPrevious = F.KeepPrevious;
    P.GridIndexValid = false;
  }
  S.Score = R.Score;
  S.TeamAvgScore = R.TeamAvgScore;
  S.ScoreFactor = R.ScoreFactor;
  S.FutureCount = R.FutureCount;
  Kart.GridSize = R.GridSize;
  Kart.Color = R.Color;
  Kart.AutoGrid = R.AutoGrid;
  Kart.UseRefined = R.UseRefined;
  Kart.DebugLevel = static_cast<TDebugLevel>(R.DebugLevel);
  Kart.ShapeDirty = true;
}

}  // namespace

TScenario CaptureScenario(const TTrack2D& Track, const TKartList& Karts, uint64_t Seed,
                          int64_t MoveNumber, int32_t BudgetMs) {
  TScenario S;
  if (const auto* Clean = dynamic_cast<const TQtPicture*>(Track.Background.get())) {
    S.Circuit = Clean->Image().convertToFormat(QImage::Format_RGB32);
  }
  S.Track = {Track.Friction,   Track.SideFriction, Track.Seconds,      Track.TeamScore,
             Track.Collisions, Track.KeepTrails,   Track.RaceDirection};
  S.FixedPasses = Track.FixedPasses;
  S.BudgetMs = BudgetMs;
  S.Seed = Seed;
  S.MoveNumber = MoveNumber;
  S.Random = SaveRandomSource();
  for (const auto& Kart : Karts) S.Karts.push_back(RecordKart(*Kart));
  S.ChosenKart = 0;
  return S;
}

void RestoreRace(const TScenario& Scenario, TTrack2D& Track, TKartList& Karts) {
  ApplyTrackSettings(Track, Scenario.Track);
  Track.FixedPasses = Scenario.FixedPasses;
  while (Karts.size() > Scenario.Karts.size()) RemoveKart(Track, Karts, Karts.back().get());
  while (Karts.size() < Scenario.Karts.size()) AddKart(Track, Karts, nullptr);
  for (size_t I = 0; I < Karts.size(); ++I) RestoreKart(Scenario.Karts[I], *Karts[I]);
  RestoreRandomSource(Scenario.Random);
  // The futures of the coming moves are drawn from streams keyed by these.
  Track.Seed = Scenario.Seed;
  Track.MoveNumber = Scenario.MoveNumber;
}

TScenarioRead ReadScenarioFile(const QString& Path) {
  TScenarioRead Result;
  const auto Refuse = [&](const QString& Reason) {
    Result.Error = QStringLiteral("Cannot open the scenario \"%1\": %2").arg(Path, Reason);
    return Result;
  };
  // Opened without waiting, so that a FIFO of that name cannot stall the program; only a regular
  // file is read.
  const int Fd = ::open(QFile::encodeName(Path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (Fd < 0) return Refuse(QString::fromLocal8Bit(std::strerror(errno)) + '.');
  QFile File;
  if (!File.open(Fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(Fd);
    return Refuse(File.errorString() + '.');
  }
  struct stat Info {};
  if (fstat(Fd, &Info) != 0) return Refuse(QString::fromLocal8Bit(std::strerror(errno)) + '.');
  if (!S_ISREG(Info.st_mode))
    return Refuse(QStringLiteral("it is %1, not a regular file.")
                      .arg(QString::fromStdString(FileKindName(Info.st_mode))));
  if (Info.st_size > MaxScenarioBytes)
    return Refuse(QStringLiteral("the file holds more than %1 bytes.").arg(MaxScenarioBytes));
  QByteArray Json = File.read(MaxScenarioBytes + 1);
  if (Json.size() > MaxScenarioBytes)
    return Refuse(QStringLiteral("the file holds more than %1 bytes.").arg(MaxScenarioBytes));
  File.close();
  Result = ScenarioFromJson(std::move(Json));
  if (!Result.Ok()) return Refuse(Result.Error);
  return Result;
}

QString WriteScenarioFile(const QString& Path, const TScenario& Scenario) {
  TAtomicFile File;
  if (File.Open(QFile::encodeName(Path).toStdString()) &&
      WriteScenarioJson(
          Scenario, [&File](const char* Data, size_t Size) { return File.Write(Data, Size); }) &&
      File.Commit())
    return {};
  return QStringLiteral("Cannot save the scenario \"%1\": %2.")
      .arg(Path, File.Failed() ? QString::fromLocal8Bit(File.Error().c_str())
                               : QStringLiteral("the circuit's picture cannot be encoded"));
}
