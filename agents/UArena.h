#pragma once
// What a player asks of the track it is on. The track implements it; the players never see more
// of it, so that the agents need nothing of the world above them.

#include "agents/UCanvas.h"

class TPlayer;
class TRoad;

/// The track as its players see it: the picture they draw on, the road they drive on, and what
/// the collision test that the window watches needs (letting the window in, and whether a player
/// is still on the list afterwards).
class TArena {
 public:
  virtual ~TArena() = default;
  /// The picture the players draw on, or null.
  virtual TPicture* Picture() const = 0;
  /// The road, or null on a track that is not a picture of one.
  virtual const TRoad* Road() const = 0;
  /// Puts the clean circuit back on the picture.
  virtual void CleanImage() = 0;
  /// Cleans the picture (unless trails are kept) and draws every player.
  virtual void Redraw() = 0;
  /// Lets the desktop process its pending messages, when there is one.
  virtual void ProcessMessages() = 0;
  /// Whether Player is on the list; compares addresses only, so a destroyed player may be asked.
  virtual bool HasPlayer(const TPlayer* Player) const = 0;
};
