#pragma once
// The circuit the program starts with, built into the executable.

#include <QImage>

/// The built-in 800 x 600 circuit as Format_RGB32; never read from disk.
QImage DefaultCircuitImage();
