#pragma once
// The multi-line debug text box: a plain text editor the track writes its debug lines into.

#include <QPlainTextEdit>

#include "world/UPlatform.h"

/// The window's DebugMemo, handed to the track as its debug text view.
class TDebugMemo : public QPlainTextEdit, public TDebugText {
 public:
  explicit TDebugMemo(QWidget* Parent = nullptr);

  void Clear() override { clear(); }
  void SetText(const std::string& Text) override { setPlainText(QString::fromStdString(Text)); }
  /// Appends at the end without scrolling: a listing stays readable from its first line.
  void AddLine(const std::string& Line) override;
};
