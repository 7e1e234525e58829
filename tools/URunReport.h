#pragma once
// What kartrun writes about laps and, on request, a report folder: each kart's path over the
// circuit coloured by speed, speed and futures over time, lap times as pictures, and the
// summary's figures as JSON.

#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "world/UPlatform.h"

class TOutputFile;
class TRaceLog;

/// The run as a whole, for the report's summary.
struct TRunFacts {
  uint64_t Seed = 0;
  int Moves = 0;
  int FixedFutures = 0;  ///< 0: the time budget decided
  double MsPerMove = 0;
  QString Circuit;             ///< "built-in" or the file's name
  std::vector<TColor> Colors;  ///< of every kart, in order
  QStringList ColorNames;      ///< as the summary names them
  QJsonObject Settings;        ///< every setting of the run, by its option's name
};

/// A kart drove against the field when it drove against the lap direction longer than this in
/// all, simulated seconds.
inline constexpr double AgainstTheFieldSeconds = 5;

/// The lap table printed on Out after the summary: laps, last and best lap, place, seconds
/// against the lap direction and wrong-way mark per kart, or a line saying that the circuit has
/// no lap line.
void PrintLapSummary(std::FILE* Out, const TRaceLog& Log, const TRunFacts& Run);

/// Writes the CSV of every lap ("kart,lap,seconds,move") into File, open, and finishes it. The
/// system's reason on failure, else an empty string.
QString WriteLapsCsv(TOutputFile& File, const TRaceLog& Log);

/// Writes path-kartN.png, speed.png, futures.png, laps.png and summary.json into the existing
/// folder NativeFolder (the system's bytes, ending in '/'). Log must have kept every move
/// (HistoryLimit 0). "file: reason" on failure, else an empty string.
QString WriteRunReport(const std::string& NativeFolder, const QImage& Circuit, const TRaceLog& Log,
                       const TRunFacts& Run);

/// Whether a report folder holds a file of this name: an earlier report may be replaced, a folder
/// holding anything else may not.
bool IsReportFile(const std::string& Leaf);

/// The colour of a speed on a path: blue at rest through magenta to red at Fastest and above.
QColor SpeedColor(double Speed, double Fastest);
