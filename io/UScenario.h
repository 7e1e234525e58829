#pragma once
// A race kept in a file and taken up again: the circuit (its BMP inside), every track and kart
// setting, each kart's real state, the futures mode, the move number and the random source, so
// that a run with a fixed number of futures goes on exactly as it would have.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "world/URaceSetup.h"

/// The version this program writes; files of a later version are refused.
constexpr int32_t ScenarioVersion = 1;
/// Largest scenario file read, bytes: the largest circuit (MaxCircuitPixels) as a 32-bit BMP in
/// base64 (85.4 MiB) fits, with a hundred karts. Reading a file this large takes at most about
/// three times the decoded picture (64 MiB), saving one much less (bench/BenchFiles.cpp).
constexpr int64_t MaxScenarioBytes = 96ll * 1024 * 1024;

/// One parameter of a kart's real state, every field that survives between moves.
struct TParamRecord {
  std::string Name;
  double Value = 0;
  double PrevValue = 0;
  int32_t IntValue = 0;  ///< the start, in thousandths
  double MinValue = 0;
  double MaxValue = 0;
  double Precision = 0;
  bool KeepPrevious = false;
};

/// One kart: its real state with its scores, and its own settings.
struct TScenarioKart {
  std::vector<TParamRecord> Params;
  double Score = 0;
  double TeamAvgScore = 0;
  double ScoreFactor = 1;
  int32_t FutureCount = 1;
  int32_t GridSize = 10;
  TColor Color = 0;
  bool AutoGrid = true;
  bool UseRefined = true;
  int32_t DebugLevel = 0;
};

/// Everything a race needs to go on.
struct TScenario {
  QImage Circuit;  ///< Format_RGB32; kept in the file as a 24-bit BMP
  TTrackSettings Track;
  int32_t FixedPasses = 0;  ///< 0: the time budget decides
  int32_t BudgetMs = MoveBudgetMs;
  uint64_t Seed = 0;
  int64_t MoveNumber = 0;
  std::array<uint64_t, 4> Random{};  ///< the random source as it stands
  std::vector<TScenarioKart> Karts;
  int32_t ChosenKart = 0;  ///< the kart the window's controls act on
};

/// A scenario read, or why it was refused (the message names the field).
struct TScenarioRead {
  TScenario Scenario;
  QString Error;
  bool Ok() const { return Error.isEmpty(); }
};

/// The race as it stands: the circuit is the track's clean picture (drawn strokes included),
/// the random source is read now.
TScenario CaptureScenario(const TTrack2D& Track, const TKartList& Karts, uint64_t Seed,
                          int64_t MoveNumber, int32_t BudgetMs);
/// Sets the track's settings and futures mode, gives every kart the file's state (adding or
/// removing karts only where the numbers differ), and restores the random source. The circuit
/// itself is the caller's to set first (the window shows it).
void RestoreRace(const TScenario& Scenario, TTrack2D& Track, TKartList& Karts);

/// Takes the text of a file piece by piece; false stops the writing.
using TScenarioSink = std::function<bool(const char* Data, size_t Size)>;
/// The scenario as versioned JSON text, handed to Write in pieces, the circuit's picture encoded
/// as it goes (never held whole as text). False when Write said so or the picture could not be
/// encoded.
bool WriteScenarioJson(const TScenario& Scenario, const TScenarioSink& Write);
/// The same text, whole.
QByteArray ScenarioToJson(const TScenario& Scenario);
/// Reads and checks JSON text completely; nothing is used unless all of it is sound. The text is
/// let go as soon as it has been parsed (pass it with std::move to free it then).
TScenarioRead ScenarioFromJson(QByteArray Json);

/// Reads a file (at most MaxScenarioBytes); the message names the file and the field.
TScenarioRead ReadScenarioFile(const QString& Path);
/// Writes the file atomically; an empty string, or why it failed.
QString WriteScenarioFile(const QString& Path, const TScenario& Scenario);
/// The picture as a 24-bit BMP file.
QByteArray CircuitToBmp(const QImage& Circuit);

// The random source, kept in one pair so that another kind of source changes only these.
/// Its state now.
std::array<uint64_t, 4> SaveRandomSource();
/// Back to a state saved before.
void RestoreRandomSource(const std::array<uint64_t, 4>& State);
