// Fuzz target for the scenario reader: any bytes read as a scenario give either a message that
// names what is wrong, or a race that saves and reads back unchanged, takes a move, and can be
// saved and read again after it; never a crash, a leak or undefined behaviour. The same function
// replays the committed corpus on every test run (CorpusReplay.cpp).

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "agents/UKart.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "world/UTrack2D.h"

namespace {

[[noreturn]] void Broken(const char* What, const QString& Detail = {}) {
  std::fprintf(stderr, "scenario reader: %s %s\n", What, qPrintable(Detail));
  std::abort();
}

/// Above this many kart-seconds of futures a move would take a second or more under the
/// sanitizers: such inputs are only read and saved, not run.
constexpr int64_t MaxKartSecondsRun = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const QByteArray Json =
      QByteArray::fromRawData(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
  const TScenarioRead R = ScenarioFromJson(Json);
  if (!R.Ok()) {
    if (!R.Error.endsWith('.') || !R.Scenario.Karts.empty() || !R.Scenario.Circuit.isNull())
      Broken("refused without a clean message:", R.Error);
    return 0;
  }
  const TScenario& S = R.Scenario;
  if (S.Karts.empty() || S.Circuit.isNull() || S.ChosenKart < 0 ||
      S.ChosenKart >= static_cast<int32_t>(S.Karts.size()))
    Broken("accepted without karts, a circuit or a sound chosen kart");

  // What was read saves and reads back as it was.
  const QByteArray Saved = ScenarioToJson(S);
  const TScenarioRead Again = ScenarioFromJson(Saved);
  if (!Again.Ok()) Broken("an accepted scenario, saved, is refused:", Again.Error);
  if (ScenarioToJson(Again.Scenario) != Saved) Broken("a save and a read change the scenario");

  if (static_cast<int64_t>(S.Karts.size()) * S.Track.Seconds > MaxKartSecondsRun) return 0;
  // Taken up as kartrun takes it up, and moved once with the fewest futures on this thread.
  TQtPicture Picture(S.Circuit);
  TTrack2D Track;
  Track.SetImage(&Picture);
  TKartList Karts;
  RestoreRace(S, Track, Karts);
  Track.FixedPasses = 1;
  Track.Threads = 1;
  try {
    Track.Redraw();
    Track.ThinkAndMove(S.BudgetMs, TimeStepMs);
  } catch (const std::exception& E) {
    Broken("an accepted scenario fails its first move:", QString::fromUtf8(E.what()));
  }
  // Whatever one move reaches is a race that can be kept and taken up again.
  const TScenarioRead Moved = ScenarioFromJson(
      ScenarioToJson(CaptureScenario(Track, Karts, Track.Seed, Track.MoveNumber, S.BudgetMs)));
  if (!Moved.Ok()) Broken("the race after one move, saved, is refused:", Moved.Error);
  return 0;
}
