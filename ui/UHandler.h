#pragma once
// Slots that run a handler and show any error it raises right there, so that no error ever
// unwinds through Qt's own frames.

#include <QString>

#include "ui/UApplication.h"

/// A slot that runs Object's handler Method; an error report names Where as its place.
template <class T>
auto Handler(T* Object, void (T::*Method)(), const char* Where) {
  return [Object, Method, Where] {
    RunHandler([Object, Method] { (Object->*Method)(); }, QString::fromLatin1(Where));
  };
}

/// Handler with the handler's own name ("TTrackPanel::EdFrictionChange") as the place.
#define HANDLER(Object, Method) Handler(Object, &Method, #Method)

/// A slot that runs Body with the signal's arguments.
template <class F>
auto Guarded(F Body) {
  return [Body](auto... Args) { RunHandler([&] { Body(Args...); }); };
}
