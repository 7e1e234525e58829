#pragma once
// The starting grid: karts two abreast in a staggered grid behind the start line, facing the
// start direction, following the road back from the line.

#include <cstdint>
#include <string>
#include <vector>

#include "world/URaceSetup.h"

class TTrack2D;

/// One place on the grid: a kart's centre, pixels, and its heading, radians.
struct TGridPlace {
  double X = 0, Y = 0, Angle = 0;
};

/// Rows of two behind the start line: a row every RowSizes kart sizes, the second column half a
/// row further back and ColumnSizes kart sizes to the side of the first.
inline constexpr double GridRowSizes = 3.25;
inline constexpr double GridColumnSizes = 2.5;

/// The places of Count karts of size Size on the grid behind the start line through (X, Y)
/// across heading Angle: the first keeps (X, Y); the others follow the road's middle back from
/// the line, on whole pixels, each outline wholly on the road and clear of the others. Empty,
/// with Problem saying why, where the circuit has no lap line there or the road is too narrow.
std::vector<TGridPlace> StartingGrid(const TTrack2D& Track, double X, double Y, double Angle,
                                     int32_t Count, double Size, std::string& Problem);

/// Puts the karts on the grid behind kart #1's start line (kart #1 stays), each at rest and
/// marked as its start, and redraws the track. False, with the karts left where they are and
/// Problem saying why, where they do not fit.
bool LineUpOnGrid(TTrack2D& Track, TKartList& Karts, std::string& Problem);
