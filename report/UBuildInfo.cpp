#include "report/UBuildInfo.h"

// Both strings come from the build: the project's version and the cache variable
// KARTS_REPORT_ADDRESS, given to this file alone so that changing them rebuilds little.
QString ProgramVersion() { return QString::fromUtf8(KARTS_VERSION); }

QString ReportAddress() { return QString::fromUtf8(KARTS_REPORT_ADDRESS); }
