#pragma once
// The collision pass's broad phase: which pairs of planar players have touching boxes, found by
// sorting the boxes along x instead of testing every pair.

#include <cstddef>
#include <cstdint>
#include <vector>

class TPlayer2D;

/// Finds, in the order of the pairwise loop (I < J, I first), the pairs whose bounding boxes
/// touch, and keeps finding them while the pass moves players apart.
class TBroadPhase {
 public:
  /// Takes the boxes of Players as they stand. False when a box cannot be sorted (NaN): the
  /// caller then tests every pair.
  bool Start(const std::vector<TPlayer2D*>& Players);
  /// The next pair after (I, J) in the pairwise order whose boxes touch now; false when none.
  /// Start the search with I = J = -1.
  bool Next(int32_t& I, int32_t& J);
  /// Pair (I, J) has been worked on: reads their boxes again, and when either moved finds the
  /// pairs still to come afresh. False when a box became NaN: the caller then goes on testing
  /// every pair.
  bool Update(int32_t I, int32_t J);

 private:
  struct TBox {
    double Left, Right, Top, Bottom;
    bool operator==(const TBox&) const = default;
  };
  const std::vector<TPlayer2D*>* List = nullptr;
  std::vector<TBox> Boxes;
  std::vector<int32_t> ByLeft;  ///< player indexes by left edge
  /// Touching pairs as I * N + J, ascending; Cursor is the next to hand out.
  std::vector<int64_t> Pairs;
  size_t Cursor = 0;

  TBox BoxOf(int32_t Index) const;
  static bool Touch(const TBox& P, const TBox& Q);
  /// Sorts by left edge and collects every touching pair.
  void Sweep();
};
