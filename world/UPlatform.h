#pragma once
// What the model needs from the desktop, declared in the model and implemented in io/ and ui/.
// Every one of them may be absent: the model then simply skips drawing or reporting, or reads
// the steady clock.

#include <string>

#include "agents/UCanvas.h"

/// The multi-line debug text view.
class TDebugText {
 public:
  virtual ~TDebugText() = default;
  virtual void Clear() = 0;
  virtual void SetText(const std::string& Text) = 0;
  virtual void AddLine(const std::string& Line) = 0;
};

/// Lets the desktop process its pending messages (repaints, clicks) and returns.
class TMessagePump {
 public:
  virtual ~TMessagePump() = default;
  virtual void ProcessMessages() = 0;
};

/// A monotonic clock for the move's time budget, milliseconds. Read from every thread that
/// imagines futures. Absent, the track reads std::chrono::steady_clock; tests give a fake one.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual double NowMs() = 0;
};
