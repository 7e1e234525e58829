#include "tools/URunReport.h"

#include <QBuffer>
#include <QChart>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "io/UAtomicFile.h"
#include "io/UOutputFile.h"
#include "io/UPicture.h"
#include "io/UPlots.h"
#include "world/URaceLog.h"
#include "world/URaceSetup.h"

namespace {

constexpr double StepSeconds = TimeStepMs / 1000.0;
constexpr int PlotWidth = 800;
constexpr int PlotHeight = 400;

// "Kart #2 (yellow)": how the charts' legends name a kart.
QString KartName(const TRunFacts& Run, size_t K) {
  const QString Colour = Run.ColorNames.value(static_cast<int>(K));
  return Colour.isEmpty() ? QStringLiteral("Kart #%1").arg(K + 1)
                          : QStringLiteral("Kart #%1 (%2)").arg(K + 1).arg(Colour);
}

QColor KartLine(const TRunFacts& Run, size_t K) {
  return LineColorOnWhite(TQtPicture::ToQColor(K < Run.Colors.size() ? Run.Colors[K] : clBlack));
}

/// Writes Bytes as the file Leaf of Folder; "Leaf: reason" on failure.
QString SaveBytes(const std::string& Folder, const char* Leaf, const QByteArray& Bytes) {
  TAtomicFile File;
  if (File.Open(Folder + Leaf) && File.Write(Bytes.constData(), size_t(Bytes.size())) &&
      File.Commit())
    return {};
  return QStringLiteral("%1: %2").arg(QString::fromLatin1(Leaf),
                                      QString::fromLocal8Bit(File.Error().c_str()));
}

QString SaveImage(const QImage& Image, const std::string& Folder, const std::string& Leaf) {
  QByteArray Bytes;
  QBuffer Memory(&Bytes);
  Memory.open(QIODevice::WriteOnly);
  QImageWriter Writer(&Memory, "png");
  if (!Writer.write(Image))
    return QStringLiteral("%1: %2").arg(QString::fromStdString(Leaf), Writer.errorString());
  return SaveBytes(Folder, Leaf.c_str(), Bytes);
}

QImage PathPicture(const QImage& Circuit, const TRaceLog& Log, const TKartRecord& R,
                   double Fastest) {
  QImage Image = Circuit.convertToFormat(QImage::Format_RGB32);
  QPainter P(&Image);
  if (Log.Laps().HasLine()) {
    P.setPen(QPen(Qt::white, 1, Qt::DashLine));
    P.drawLine(QPointF(Log.Laps().EndX(false), Log.Laps().EndY(false)),
               QPointF(Log.Laps().EndX(true), Log.Laps().EndY(true)));
  }
  for (size_t I = 1; I < R.History.size(); ++I) {
    const TMoveSample &A = R.History[I - 1], &B = R.History[I];
    P.setPen(QPen(SpeedColor(B.Speed, Fastest), 3, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(A.X, A.Y), QPointF(B.X, B.Y));
  }
  P.setPen(Qt::white);
  P.fillRect(8, 8, 250, 18, Qt::black);
  P.drawText(12, 21,
             QStringLiteral("path: slow (blue) to %1 px/s and more (red)").arg(Fastest, 0, 'f', 0));
  return Image;
}

// One chart of a figure of every kart over the whole run, a point after every move.
QImage OverTime(const TRaceLog& Log, const TRunFacts& Run, const QString& Title,
                const QString& Unit, double (*Figure)(const TMoveSample&)) {
  std::vector<TPlotSeries> Series;
  for (size_t K = 0; K < Log.Records().size(); ++K) {
    TPlotSeries S{KartName(Run, K), {}, KartLine(Run, K)};
    const auto& History = Log.Records()[K].History;
    for (size_t I = 0; I < History.size(); ++I)
      S.Points.emplace_back((I + 1) * StepSeconds, Figure(History[I]));
    Series.push_back(std::move(S));
  }
  const std::unique_ptr<QChart> Chart(
      NewLineChart(Title, {QStringLiteral("simulated time (s)"), Unit}, Series));
  return ChartImage(*Chart, {PlotWidth, PlotHeight});
}

QImage LapTimes(const TRaceLog& Log, const TRunFacts& Run) {
  std::vector<TPlotSeries> Series;
  for (size_t K = 0; K < Log.Records().size(); ++K) {
    TPlotSeries S{KartName(Run, K), {}, KartLine(Run, K), true};
    const std::vector<double>& Times = Log.Records()[K].LapTimes;
    for (size_t L = 0; L < Times.size(); ++L) S.Points.emplace_back(L + 1, Times[L]);
    Series.push_back(std::move(S));
  }
  const std::unique_ptr<QChart> Chart(NewLineChart(
      Log.Laps().HasLine()
          ? QStringLiteral("Lap times")
          : QStringLiteral("No lap line: the road does not loop through the start"),
      {QStringLiteral("lap"), QStringLiteral("lap time (simulated s)"), true}, Series));
  return ChartImage(*Chart, {PlotWidth, PlotHeight});
}

QJsonObject KartJson(const TKartRecord& R, int Index, int32_t Place, const TRunFacts& Run) {
  QJsonArray Laps;
  for (double T : R.LapTimes) Laps.append(T);
  QJsonObject K{{"kart", Index + 1},
                {"colour", Run.ColorNames.value(Index)},
                {"distance_px", R.Distance},
                {"mean_speed_px_s", R.MeanSpeed(StepSeconds)},
                {"off_road_share", R.OffRoadShare()},
                {"futures_per_move", R.FuturesPerMove()},
                {"distinct_per_move", R.DistinctPerMove()},
                {"laps", R.Laps},
                {"place", Place},
                {"lap_times_s", Laps},
                {"wrong_way", R.WrongWay},
                {"wrong_way_s", R.WrongWaySeconds},
                {"longest_stall_s", R.LongestStall}};
  if (R.Laps > 0) {
    K["last_lap_s"] = R.LastLap;
    K["best_lap_s"] = R.BestLap;
  }
  if (!R.History.empty()) K["ends_at"] = QJsonArray{R.History.back().X, R.History.back().Y};
  return K;
}

/// The race as a whole: the karts that drove against the field, the longest stand-still, the
/// best and the mean lap of all karts and the share of moves off the road.
QJsonObject RaceJson(const TRaceLog& Log) {
  int32_t Against = 0, Laps = 0;
  double Stall = 0, Best = 0, LapSum = 0;
  int64_t Moves = 0, OffRoad = 0;
  for (const TKartRecord& R : Log.Records()) {
    Against += R.WrongWaySeconds > AgainstTheFieldSeconds;
    Stall = std::max(Stall, R.LongestStall);
    for (double T : R.LapTimes) {
      Best = Laps == 0 ? T : std::min(Best, T);
      LapSum += T;
      ++Laps;
    }
    Moves += R.Moves;
    OffRoad += R.OffRoadMoves;
  }
  QJsonObject Race{{"wrong_way_karts", Against},
                   {"longest_stall_s", Stall},
                   {"laps", Laps},
                   {"off_road_share", Moves ? double(OffRoad) / Moves : 0.0}};
  if (Laps > 0) {
    Race["best_lap_s"] = Best;
    Race["mean_lap_s"] = LapSum / Laps;
  }
  return Race;
}

}  // namespace

QColor SpeedColor(double Speed, double Fastest) {
  const double F = Fastest > 0 ? std::clamp(Speed / Fastest, 0.0, 1.0) : 0.0;
  // Through magenta rather than yellow and green, which would vanish on a yellow road.
  return QColor::fromHsvF(static_cast<float>(std::fmod(2.0 / 3.0 + F / 3.0, 1.0)), 1.0f, 1.0f);
}

void PrintLapSummary(std::FILE* Out, const TRaceLog& Log, const TRunFacts& Run) {
  if (!Log.Laps().HasLine()) {
    std::fprintf(Out, "\nno lap line: the road does not loop through the start; no laps counted\n");
    return;
  }
  std::fprintf(Out, "\nkart  colour    laps  last lap  best lap  place  against  wrong way\n");
  std::fprintf(Out, "                         (s)       (s)            (s)\n");
  const std::vector<int32_t> Places = Log.Places();
  for (size_t I = 0; I < Log.Records().size(); ++I) {
    const TKartRecord& R = Log.Records()[I];
    std::fprintf(Out, "#%-4zu %-8s %5d %9.1f %9.1f  %5d %8.1f  %s\n", I + 1,
                 qPrintable(Run.ColorNames.value(static_cast<int>(I))), R.Laps, R.LastLap,
                 R.BestLap, Places[I], R.WrongWaySeconds, R.WrongWay ? "yes" : "no");
  }
}

QString WriteLapsCsv(TOutputFile& Csv, const TRaceLog& Log) {
  Csv.Write("kart,lap,seconds,move\n");
  char Line[96];
  for (size_t I = 0; I < Log.Records().size(); ++I) {
    const TKartRecord& R = Log.Records()[I];
    for (size_t L = 0; L < R.LapTimes.size(); ++L) {
      std::snprintf(Line, sizeof Line, "%zu,%zu,%.1f,%lld\n", I + 1, L + 1, R.LapTimes[L],
                    static_cast<long long>(R.LapMoves[L]));
      Csv.Write(Line);
    }
  }
  if (!Csv.Finish()) return QString::fromLocal8Bit(Csv.Error().c_str());
  return {};
}

bool IsReportFile(const std::string& Leaf) {
  if (Leaf == "speed.png" || Leaf == "futures.png" || Leaf == "laps.png" || Leaf == "summary.json")
    return true;
  const std::string Prefix = "path-kart", Suffix = ".png";
  if (Leaf.size() <= Prefix.size() + Suffix.size() || Leaf.compare(0, Prefix.size(), Prefix) ||
      Leaf.compare(Leaf.size() - Suffix.size(), Suffix.size(), Suffix))
    return false;
  const std::string Number =
      Leaf.substr(Prefix.size(), Leaf.size() - Prefix.size() - Suffix.size());
  return Number.size() <= 3 && Number[0] != '0' &&
         Number.find_first_not_of("0123456789") == std::string::npos;
}

QString WriteRunReport(const std::string& Folder, const QImage& Circuit, const TRaceLog& Log,
                       const TRunFacts& Run) {
  // The colour scale ends at the speed that only a fiftieth of the moves exceed: a kart pushed
  // away in a collision must not wash out everyone's colours.
  std::vector<double> Speeds;
  for (const TKartRecord& R : Log.Records())
    for (const TMoveSample& M : R.History) Speeds.push_back(M.Speed);
  std::sort(Speeds.begin(), Speeds.end());
  const double Fastest = Speeds.empty() ? 0 : Speeds[Speeds.size() * 49 / 50];
  const std::vector<int32_t> Places = Log.Places();
  QJsonArray Karts;
  for (size_t K = 0; K < Log.Records().size(); ++K) {
    const QString Error = SaveImage(PathPicture(Circuit, Log, Log.Records()[K], Fastest), Folder,
                                    "path-kart" + std::to_string(K + 1) + ".png");
    if (!Error.isEmpty()) return Error;
    Karts.append(KartJson(Log.Records()[K], static_cast<int>(K), Places[K], Run));
  }
  const auto Speed = [](const TMoveSample& M) { return M.Speed; };
  const auto Futures = [](const TMoveSample& M) { return double(M.Futures); };
  for (const auto& [Image, Name] : {std::pair{OverTime(Log, Run, QStringLiteral("Speed"),
                                                       QStringLiteral("speed (px/s)"), Speed),
                                              "speed.png"},
                                    std::pair{OverTime(Log, Run, QStringLiteral("Futures per move"),
                                                       QStringLiteral("futures imagined"), Futures),
                                              "futures.png"},
                                    std::pair{LapTimes(Log, Run), "laps.png"}})
    if (const QString Error = SaveImage(Image, Folder, Name); !Error.isEmpty()) return Error;
  const QJsonObject Summary{{"settings", Run.Settings},
                            {"race", RaceJson(Log)},
                            {"seed", QString::number(Run.Seed)},
                            {"moves", Run.Moves},
                            {"simulated_seconds", Run.Moves * StepSeconds},
                            {"fixed_futures", Run.FixedFutures},
                            {"ms_per_move", Run.MsPerMove},
                            {"circuit", Run.Circuit},
                            {"lap_line", Log.Laps().HasLine()},
                            {"karts", Karts}};
  return SaveBytes(Folder, "summary.json", QJsonDocument(Summary).toJson());
}
