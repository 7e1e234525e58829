#include "ui/UWindowReport.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTextStream>

#include "agents/UKart.h"
#include "ui/UFormTest2D.h"
#include "ui/URaceRunner.h"
#include "world/UTrack2D.h"

namespace {

QString YesNo(bool Value) { return Value ? QStringLiteral("yes") : QStringLiteral("no"); }

}  // namespace

QString DescribeWindow(const TFormTest2D& Window) {
  QString Text;
  QTextStream Out(&Text);
  const TRaceRunner& Race = Window.Runner();
  const TTrack2D* Track = Race.Track.get();
  if (!Track) return QStringLiteral("(no track)\n");
  Out << "Circuit: " << Window.CircuitName << ", " << Track->Width << " x " << Track->Height
      << " pixels\n";
  Out << "Track: friction " << Track->Friction << ", slide friction " << Track->SideFriction
      << ", seconds simulated " << Track->Seconds << ", team score " << YesNo(Track->TeamScore)
      << ", collisions " << YesNo(Track->Collisions) << ", trails kept " << YesNo(Track->KeepTrails)
      << ", racing the lap direction " << YesNo(Track->RaceDirection)
      << (Track->RaceDirection && !Window.HasLapLine() ? " (no lap line: not in effect)" : "")
      << "\n";
  Out << "Run: " << (Window.IsRunning() ? "running" : "not running") << ", next frame "
      << Race.FrameNumber << ", saving images "
      << (Window.IsSavingFrames() ? QDir::toNativeSeparators(Race.SaveBaseName)
                                  : QStringLiteral("off"))
      << "\n";
  Out << "Karts: " << Track->PlayerCount() << "\n";
  for (int32_t I = 0; I < Track->PlayerCount(); ++I) {
    const TPlayer& Player = Track->GetPlayer(I);
    Out << "Kart #" << I + 1 << (&Player == Window.CurrentKart ? " (current)" : "") << ": ";
    const auto* Kart = dynamic_cast<const TKart*>(&Player);
    if (!Kart) {
      Out << "a player that is not a kart, debug level " << static_cast<int>(Player.DebugLevel)
          << "\n";
      continue;
    }
    Out << "x " << Kart->PosX() << ", y " << Kart->PosY() << ", angle " << Kart->Angle()
        << ", max power " << Kart->MaxPower() << ", max turning " << Kart->MaxTurn()
        << " rad, size " << Kart->GetSize() << ", grid size " << Kart->GetGridSize()
        << (Kart->AutoGrid ? " (auto)" : " (fixed)") << ", refined decisions "
        << YesNo(Kart->UseRefined) << ", debug level " << static_cast<int>(Kart->DebugLevel)
        << ", colour " << Kart->Color << "\n";
  }
  return Text;
}
