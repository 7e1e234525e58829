#pragma once
// Slots that run a handler and show any error it raises right there, so that no error ever
// unwinds through Qt's own frames.

#include "ui/UApplication.h"

/// A slot that runs Object's handler Method.
template <class T>
auto Handler(T* Object, void (T::*Method)()) {
  return [Object, Method] { RunHandler([Object, Method] { (Object->*Method)(); }); };
}

/// A slot that runs Body with the signal's arguments.
template <class F>
auto Guarded(F Body) {
  return [Body](auto... Args) { RunHandler([&] { Body(Args...); }); };
}
