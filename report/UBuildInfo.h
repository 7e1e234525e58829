#pragma once
// Facts about the build that error reports carry.

#include <QString>

/// The program's version as the build gave it, for example "0.6".
QString ProgramVersion();

/// The address error reports are sent to, as whoever packaged the program set it at build time;
/// empty when none was set (the user then types one).
QString ReportAddress();
