#pragma once
// The window's part of an error report: what was set up when the error came.

#include <QString>

class TFormTest2D;

/// The circuit, the track's settings, the run, and every kart's settings, one fact a line.
QString DescribeWindow(const TFormTest2D& Window);
