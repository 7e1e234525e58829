#pragma once
// The application-wide message hook: sees every input event before any control does.

#include <QObject>
#include <functional>

/// Installed on the application as an event filter; OnMessage may mark an event handled, and a
/// handled event reaches no control.
class TAppEvents : public QObject {
 public:
  using TMessageEvent = std::function<void(QEvent& Message, bool& Handled)>;

  explicit TAppEvents(QObject* Parent);
  ~TAppEvents() override;

  TMessageEvent OnMessage;

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;
};
