#pragma once
// The multi-line debug text box: read-only text the track writes its debug lines into.

#include <QPlainTextEdit>

#include "world/UPlatform.h"

/// The window's DebugMemo, handed to the track as its debug text view. The track rewrites it on
/// every move; the box keeps where the reader has scrolled to.
class TDebugMemo : public QPlainTextEdit, public TDebugText {
 public:
  explicit TDebugMemo(QWidget* Parent = nullptr);

  void Clear() override;
  /// The kart's status text, which is the drag coefficient of its last step: shown labelled.
  void SetText(const std::string& Text) override;
  /// Appends at the end without scrolling: a listing stays readable from its first line.
  void AddLine(const std::string& Line) override;

 private:
  /// Scrolls back to where the reader was before the text was replaced.
  void KeepScroll();

  int SavedVertical = 0;
  int SavedHorizontal = 0;
};
