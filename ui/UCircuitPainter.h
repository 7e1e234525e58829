#pragma once
// Painting on the circuit: a road or off-road brush whose strokes change the clean circuit and
// where karts may drive at once, with the last strokes undoable.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

class TImageControl;
class TPicture;
class TTrack2D;

enum class TBrush { None, Road, OffRoad };

/// The colour the road brush paints: the built-in circuit's road.
constexpr QRgb RoadColor = 0xFFFFCE3D;  // red 255, green 206, blue 61

/// Paints onto the track's clean circuit and the shown picture alike, and has the track read
/// its off-road map again where a stroke went.
class TCircuitPainter {
 public:
  TCircuitPainter(TImageControl& AImage, TTrack2D& ATrack) : Image(AImage), Track(ATrack) {}

  TBrush Brush = TBrush::None;
  int Size = 16;  ///< brush diameter, pixels

  /// A stroke starts, ends or goes on at a picture point; nothing without a brush.
  void BeginStroke(QPoint At);
  void StrokeTo(QPoint At);
  void EndStroke();
  bool Stroking() const { return InStroke; }
  /// Takes the last stroke back; false when there is none on this circuit.
  bool Undo();
  int UndoCount() const { return static_cast<int>(History.size()); }

 private:
  /// A stroke's box and the clean circuit there before it, on the circuit it was made on.
  struct TUndo {
    QRect Box;
    QImage Before;
    const TPicture* Circuit;
  };
  /// The clean circuit's own picture.
  QImage& Clean() const;
  /// Paints one piece of the stroke on both pictures and reads the map again under it.
  void Segment(QPoint From, QPoint To);
  /// Puts Patch back at its place on both pictures and reads the map again there.
  void Restore(const QRect& Box, const QImage& Patch);

  static constexpr size_t MaxUndo = 50;
  TImageControl& Image;
  TTrack2D& Track;
  std::vector<TUndo> History;
  QImage Before;  ///< the clean circuit as the stroke began (shared until painted on)
  QRect Box;
  QPoint Last;
  bool InStroke = false;
};
