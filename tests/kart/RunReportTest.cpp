// kartrun's report, read back: the pictures have their sizes and show the path where the kart
// drove, and summary.json and the laps CSV give the figures of the run's own state CSV.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A ring of road through the karts' start at (200, 460): laps come round every few seconds.
QImage RingCircuit() {
  QImage Ring(800, 600, QImage::Format_RGB32);
  for (int X = 0; X < 800; ++X)
    for (int Y = 0; Y < 600; ++Y) {
      const double D = std::hypot(X - 260, Y - 460);
      Ring.setPixel(X, Y, D >= 35 && D <= 85 ? qRgb(255, 206, 61) : qRgb(0, 0, 0));
    }
  return Ring;
}

QByteArray ReadAll(const QString& Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

}  // namespace

TEST(RunReport, PicturesSummaryAndLapsAgreeWithTheRun) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QString Circuit = Dir.filePath("ring.bmp");
  ASSERT_TRUE(RingCircuit().save(Circuit, "BMP"));
  const QString Report = Dir.filePath("report");
  QProcess Run;
  Run.start(KARTRUN, {"--circuit", Circuit, "--karts", "2", "--moves", "250", "--seed", "3",
                      "--futures", "1", "--seconds", "3", "--csv", Dir.filePath("states.csv"),
                      "--laps", Dir.filePath("laps.csv"), "--report", Report});
  ASSERT_TRUE(Run.waitForFinished(300000));
  ASSERT_EQ(Run.exitCode(), 0) << Run.readAllStandardError().toStdString();

  const QJsonObject Summary = QJsonDocument::fromJson(ReadAll(Report + "/summary.json")).object();
  EXPECT_EQ(Summary["moves"].toInt(), 250);
  EXPECT_TRUE(Summary["lap_line"].toBool());
  const QJsonArray Karts = Summary["karts"].toArray();
  ASSERT_EQ(Karts.size(), 2);

  // The distance from the state CSV: positions after every move, kart by kart.
  std::map<int, double> Distance;
  std::map<int, std::pair<double, double>> Last;
  const QList<QByteArray> States = ReadAll(Dir.filePath("states.csv")).split('\n');
  const QList<QByteArray> Header = States.first().split(',');
  const int PosX = Header.indexOf("POSX"), PosY = Header.indexOf("POSY");
  ASSERT_GE(PosX, 0);
  for (const QByteArray& Line : States.mid(1)) {
    const QList<QByteArray> F = Line.split(',');
    if (F.size() < Header.size()) continue;
    const int Kart = F[1].toInt();
    const std::pair<double, double> P{F[PosX].toDouble(), F[PosY].toDouble()};
    if (Last.count(Kart))
      Distance[Kart] += std::hypot(P.first - Last[Kart].first, P.second - Last[Kart].second);
    Last[Kart] = P;
  }

  // Every lap of the CSV, counted per kart.
  std::map<int, int> Laps;
  for (const QByteArray& Line : ReadAll(Dir.filePath("laps.csv")).split('\n').mid(1))
    if (!Line.isEmpty()) ++Laps[Line.split(',').first().toInt()];

  int AllLaps = 0;
  for (int K = 0; K < 2; ++K) {
    SCOPED_TRACE(K + 1);
    const QJsonObject Kart = Karts[K].toObject();
    EXPECT_NEAR(Kart["distance_px"].toDouble(), Distance[K + 1], 1e-6 * Distance[K + 1] + 1e-6);
    EXPECT_EQ(Kart["laps"].toInt(), Laps[K + 1]);
    EXPECT_EQ(Kart["lap_times_s"].toArray().size(), Laps[K + 1]);
    AllLaps += Laps[K + 1];

    // The path picture: the circuit's size, the path's colour where the kart ended, the circuit
    // untouched far from the road.
    const QImage Path(Report + QStringLiteral("/path-kart%1.png").arg(K + 1));
    ASSERT_EQ(Path.size(), QSize(800, 600));
    const QJsonArray End = Kart["ends_at"].toArray();
    const QColor AtEnd =
        Path.pixelColor(static_cast<int>(End[0].toDouble()), static_cast<int>(End[1].toDouble()));
    EXPECT_EQ(AtEnd.saturation(), 255) << "a speed colour, not the road's";
    EXPECT_NE(AtEnd.rgb(), qRgb(255, 206, 61));
    EXPECT_EQ(Path.pixel(700, 100), qRgb(0, 0, 0));
  }
  EXPECT_GT(AllLaps, 0) << "two karts round a small ring for 25 s";

  // The race as a whole follows from the karts, the places are 1 and 2, and the settings name
  // the run so that a sweep can tell its runs apart.
  const QJsonObject Race = Summary["race"].toObject();
  EXPECT_EQ(Race["laps"].toInt(), AllLaps);
  double Best = 1e9;
  for (const QJsonValue Kart : Karts)
    for (const QJsonValue T : Kart.toObject()["lap_times_s"].toArray())
      Best = std::min(Best, T.toDouble());
  EXPECT_DOUBLE_EQ(Race["best_lap_s"].toDouble(), Best);
  EXPECT_EQ(Karts[0].toObject()["place"].toInt() + Karts[1].toObject()["place"].toInt(), 3);
  const QJsonObject Settings = Summary["settings"].toObject();
  EXPECT_EQ(Settings["karts"].toInt(), 2);
  EXPECT_EQ(Settings["seconds"].toDouble(), 3);
  EXPECT_FALSE(Settings["race-direction"].toBool());

  // The plots over time: kart #1's red is drawn in the speed plot.
  for (const char* Name : {"speed.png", "futures.png", "laps.png"})
    EXPECT_EQ(QImage(Report + "/" + Name).size(), QSize(800, 400)) << Name;
  const QImage Speed(Report + "/speed.png");
  int Red = 0;
  for (int X = 0; X < Speed.width(); ++X)
    for (int Y = 0; Y < Speed.height(); ++Y) Red += Speed.pixel(X, Y) == qRgb(255, 0, 0);
  EXPECT_GT(Red, 100);
}

TEST(RunReport, TheRacePresetIsRacingTheLapDirectionWithTheGridHeld) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  QProcess Run;
  Run.start(KARTRUN, {"--race-preset", "--moves", "3", "--seed", "1", "--futures", "1", "--report",
                      Dir.filePath("report")});
  ASSERT_TRUE(Run.waitForFinished(120000));
  ASSERT_EQ(Run.exitCode(), 0) << Run.readAllStandardError().toStdString();
  const QJsonObject Settings = QJsonDocument::fromJson(ReadAll(Dir.filePath("report/summary.json")))
                                   .object()["settings"]
                                   .toObject();
  EXPECT_TRUE(Settings["race-preset"].toBool());
  EXPECT_TRUE(Settings["race-direction"].toBool());
  EXPECT_TRUE(Settings["fixed-grid"].toBool());
  EXPECT_EQ(Settings["grid"].toInt(), 10);
}
