// Scenarios: a race written and read back goes on exactly as the original, and every kind of
// damaged or hostile file is refused with the field it names.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QJsonDocument>
#include <QJsonObject>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <bit>
#include <cstring>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UMoveEstimate.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "world/UTrack2D.h"

namespace {

/// A road ring around a black block, big enough for karts started at the usual point.
QImage RingCircuit() {
  QImage Image(400, 600, QImage::Format_RGB32);
  Image.fill(qRgb(0, 0, 0));
  for (int Y = 20; Y < 580; ++Y)
    for (int X = 20; X < 380; ++X)
      if (X < 120 || X >= 280 || Y < 120 || Y >= 480) Image.setPixel(X, Y, qRgb(255, 206, 61));
  return Image;
}

/// A race on its own picture, track and karts.
struct TRace {
  explicit TRace(const QImage& Circuit) : Picture(Circuit) {
    Track.SetImage(&Picture);
    Track.FixedPasses = 200;
    Track.Seconds = 2;
  }
  void Moves(int Count) {
    for (int I = 0; I < Count; ++I) {
      Track.Redraw();
      Track.ThinkAndMove(MoveBudgetMs, TimeStepMs);
    }
  }
  TQtPicture Picture;
  TTrack2D Track;
  TKartList Karts;
};

/// Every field of every kart's real state, bit for bit.
std::string StateBits(const TKartList& Karts) {
  std::string Bits;
  auto Put = [&Bits](const auto& X) { Bits.append(reinterpret_cast<const char*>(&X), sizeof X); };
  for (const auto& K : Karts) {
    const TState& S = *K->RealState;
    for (const auto& P : S.Params) {
      Bits += P->Name;
      for (double D : {P->Value, P->PrevValue, P->MinValue, P->MaxValue, P->Precision})
        Put(std::bit_cast<uint64_t>(D));
      Put(P->IntValue);
    }
    for (double D : {S.Score, S.TeamAvgScore, S.ScoreFactor}) Put(std::bit_cast<uint64_t>(D));
    Put(S.FutureCount);
    Put(K->GridSize);
    Put(K->Color);
    Put(K->AutoGrid);
    Put(K->UseRefined);
  }
  return Bits;
}

TEST(Scenario, ARaceReadBackGoesOnExactlyAsTheOriginal) {
  RandomSeed(11);
  TRace Original(RingCircuit());
  Original.Track.Seed = 11;
  TKartSettings Settings;
  Settings.MaxPower = 12.5;  // off the slider's grid: kept as it is
  AddKart(Original.Track, Original.Karts, Settings);
  AddKart(Original.Track, Original.Karts, Settings);
  Original.Track.Collisions = true;
  Original.Track.RaceDirection = true;
  Original.Moves(5);
  // A hole painted into the clean circuit travels with the file.
  auto& Clean = dynamic_cast<TQtPicture&>(*Original.Track.Background);
  Clean.Image().setPixel(50, 50, qRgb(0, 0, 0));

  const TScenario Kept = CaptureScenario(Original.Track, Original.Karts, Original.Track.Seed,
                                         Original.Track.MoveNumber, 100);
  const TScenarioRead Read = ScenarioFromJson(ScenarioToJson(Kept));
  ASSERT_TRUE(Read.Ok()) << Read.Error.toStdString();
  const TScenario& S = Read.Scenario;
  EXPECT_EQ(S.Circuit, Clean.Image());
  EXPECT_EQ(S.Seed, 11u);
  EXPECT_EQ(S.MoveNumber, 5);
  EXPECT_EQ(S.FixedPasses, 200);
  EXPECT_EQ(S.Track.Seconds, 2);
  EXPECT_TRUE(S.Track.Collisions);
  EXPECT_TRUE(S.Track.RaceDirection);
  // A file from before the lap direction could be raced reads with it off.
  QJsonObject Older = QJsonDocument::fromJson(ScenarioToJson(Kept)).object();
  QJsonObject Track = Older["track"].toObject();
  Track.remove("raceDirection");
  Older["track"] = Track;
  const TScenarioRead OlderRead = ScenarioFromJson(QJsonDocument(Older).toJson());
  ASSERT_TRUE(OlderRead.Ok()) << OlderRead.Error.toStdString();
  EXPECT_FALSE(OlderRead.Scenario.Track.RaceDirection);

  TRace Copy(S.Circuit);
  RestoreRace(S, Copy.Track, Copy.Karts);
  ASSERT_EQ(StateBits(Copy.Karts), StateBits(Original.Karts));
  EXPECT_TRUE(Copy.Track.Collisions);
  EXPECT_TRUE(Copy.Track.RaceDirection);
  EXPECT_EQ(Copy.Track.Seconds, 2);
  EXPECT_FALSE(Copy.Track.IsOnTrack(50, 50));

  // Both go on from the same random state: the copy must follow the original move for move.
  Original.Moves(4);
  const std::string After = StateBits(Original.Karts);
  RestoreRandomSource(S.Random);
  Copy.Moves(4);
  EXPECT_EQ(StateBits(Copy.Karts), After);
}

TEST(Scenario, WrittenAtomicallyAndReadFromTheFile) {
  QTemporaryDir Dir;
  TRace Race(RingCircuit());
  AddKart(Race.Track, Race.Karts, TKartSettings{});
  const QString Path = Dir.filePath("race.json");
  ASSERT_EQ(WriteScenarioFile(Path, CaptureScenario(Race.Track, Race.Karts, 3, 0, 100)), "");
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"race.json"});
  const TScenarioRead Read = ReadScenarioFile(Path);
  ASSERT_TRUE(Read.Ok()) << Read.Error.toStdString();
  EXPECT_EQ(Read.Scenario.Karts.size(), 1u);

  // A folder that is not there: a message, and no file.
  EXPECT_NE(WriteScenarioFile(Dir.filePath("none/race.json"),
                              CaptureScenario(Race.Track, Race.Karts, 3, 0, 100)),
            "");
  EXPECT_FALSE(ReadScenarioFile(Dir.filePath("none/race.json")).Ok());
}

// Whatever state a race reaches under the settings' extremes (least friction, no sideways
// friction, the strongest engine and sharpest steering, karts bouncing off each other and
// leaving the picture) is one that a scenario keeps and reads back, bit for bit.
TEST(Scenario, EveryStateARaceReachesIsSavedAndReadBack) {
  struct TExtreme {
    double Size;
    bool Team;
  };
  for (const TExtreme& E : {TExtreme{SizeRange.Min, false}, TExtreme{SizeRange.Max, true}}) {
    SCOPED_TRACE(E.Size);
    RandomSeed(5);
    // All road: nothing slows the karts down until they leave the picture.
    QImage Field(800, 600, QImage::Format_RGB32);
    Field.fill(qRgb(255, 206, 61));
    TRace Race(Field);
    Race.Track.Seed = 5;
    Race.Track.Seconds = 1;
    Race.Track.Friction = FrictionRange.Min;
    Race.Track.SideFriction = SideFrictionRange.Min;
    Race.Track.TeamScore = E.Team;
    TKartSettings Settings;
    Settings.MaxPower = MaxPowerRange.Max;
    Settings.MaxTurnDeg = MaxTurnDegRange.Max;
    Settings.Size = E.Size;
    for (int I = 0; I < 5; ++I) AddKart(Race.Track, Race.Karts, Settings);
    for (int Move = 0; Move < 60; ++Move) {
      Race.Moves(1);
      // The window may lower a limit under a kart going faster: still a state it can save.
      if (Move == 40) {
        Settings.MaxPower = MaxPowerRange.Min;
        Settings.MaxTurnDeg = MaxTurnDegRange.Min;
        ApplyKartSettings(*Race.Karts.front(), Settings);
      }
      const TScenarioRead Read = ScenarioFromJson(
          ScenarioToJson(CaptureScenario(Race.Track, Race.Karts, 5, Race.Track.MoveNumber, 100)));
      ASSERT_TRUE(Read.Ok()) << "move " << Move << ": " << Read.Error.toStdString();
      TRace Copy(Read.Scenario.Circuit);
      RestoreRace(Read.Scenario, Copy.Track, Copy.Karts);
      ASSERT_EQ(StateBits(Copy.Karts), StateBits(Race.Karts)) << "move " << Move;
    }
  }
}

// Timing a move on a copy of the race leaves the race, and the random source it goes on with,
// exactly as they were: a run that is told how long it will take still repeats bit for bit.
TEST(Scenario, MeasuringAMoveLeavesTheRaceAsItWas) {
  std::string Plain, Measured;
  for (const bool Measure : {false, true}) {
    RandomSeed(8);
    TRace Race(RingCircuit());
    Race.Track.Seed = 8;
    for (int I = 0; I < 3; ++I) AddKart(Race.Track, Race.Karts, TKartSettings{});
    for (int Move = 0; Move < 4; ++Move) {
      if (Measure) {
        const TMoveEstimate E = MeasureMove(Race.Track, Race.Karts, MoveBudgetMs);
        EXPECT_GT(E.SecondsPerPass, 0);
        EXPECT_EQ(E.Passes, 200);
      }
      Race.Moves(1);
    }
    // A sixth kart keeps the colour it draws from the random source.
    for (int I = 0; I < 3; ++I) AddKart(Race.Track, Race.Karts, TKartSettings{});
    (Measure ? Measured : Plain) = StateBits(Race.Karts);
  }
  EXPECT_EQ(Measured, Plain);
}

TEST(Scenario, AFifoIsRefusedAtOnce) {
  QTemporaryDir Dir;
  const QString Fifo = Dir.filePath("race.json");
  ASSERT_EQ(mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
  const TScenarioRead Read = ReadScenarioFile(Fifo);
  EXPECT_TRUE(Read.Error.contains("it is a FIFO, not a regular file")) << Read.Error.toStdString();
}

TEST(Scenario, EveryDamagedFileOfTheCorpusIsRefusedNamingItsField) {
  const QString Folder = QStringLiteral(KARTS_SCENARIOS);
  ASSERT_TRUE(ReadScenarioFile(Folder + "/sound.json").Ok());
  QFile List(Folder + "/expected.txt");
  ASSERT_TRUE(List.open(QIODevice::ReadOnly));
  int Kinds = 0;
  QTextStream Lines(&List);
  while (!Lines.atEnd()) {
    const QStringList Line = Lines.readLine().split('\t');
    if (Line.size() != 2) continue;
    const TScenarioRead Read = ReadScenarioFile(Folder + '/' + Line[0]);
    EXPECT_FALSE(Read.Ok()) << Line[0].toStdString();
    EXPECT_TRUE(Read.Error.contains(Line[1]))
        << Line[0].toStdString() << ": " << Read.Error.toStdString();
    EXPECT_TRUE(Read.Error.contains(Line[0])) << "the message names the file";
    ++Kinds;
  }
  EXPECT_GE(Kinds, 10);
}

}  // namespace
