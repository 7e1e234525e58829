#include "ui/UAppEvents.h"

#include <QCoreApplication>

TAppEvents::TAppEvents(QObject* Parent) : QObject(Parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

TAppEvents::~TAppEvents() {
  if (auto* App = QCoreApplication::instance()) App->removeEventFilter(this);
}

bool TAppEvents::eventFilter(QObject* Watched, QEvent* Event) {
  bool Handled = false;
  if (OnMessage) OnMessage(*Event, Handled);
  return Handled || QObject::eventFilter(Watched, Event);
}
