#pragma once
// What the window adds for watching the race: the View menu with the thinking view and the race
// table, keyboard ways to the menus and to the karts, the status bar, and the race log they read.

#include <QElapsedTimer>
#include <QObject>
#include <deque>
#include <vector>

#include "world/URaceLog.h"

class QAction;
class QLabel;
class TFormTest2D;
class TPlayer2D;
class TRaceTable;
class TThinkingView;

/// Built once the window is; owned by the window (its QObject parent).
class TRaceViews : public QObject {
  Q_OBJECT
 public:
  explicit TRaceViews(TFormTest2D& Form);

  const TRaceLog& Log() const { return FLog; }
  TThinkingView* ThinkingView() const { return Thinking; }
  TRaceTable* RaceTable() const { return Table; }

  /// Opens a view (or brings it to the front) and fills it.
  void ShowThinking();
  void ShowRaceTable();
  /// Makes the kart Step lines below (above, when negative) the current one current, wrapping.
  void ChooseKart(int Step);
  /// The views and the status bar show the model as it is now.
  void Refresh();
  /// Starts the figures afresh: the start line through kart #1's start, every figure at zero.
  void Restart();

 private:
  void CreateMenu();
  void CreateStatusBar();
  void ConnectWindow();
  /// A real move has ended: the figures move on and everything is shown again.
  void AfterMove();
  void ShowStatus();
  /// The start line, the karts' numbers and the chosen kart's ring over the picture.
  void ShowMarks();
  std::vector<TPlayer2D*> Karts() const;

  TFormTest2D& Form;
  TRaceLog FLog;
  TThinkingView* Thinking = nullptr;
  TRaceTable* Table = nullptr;
  QLabel* MovesPerSecond = nullptr;
  QLabel* FuturesPerMove = nullptr;
  QLabel* RunState = nullptr;
  QLabel* Frames = nullptr;
  QElapsedTimer Clock;
  std::deque<qint64> MoveTimes;  ///< when the latest moves ended, ms on Clock
};
