#include "ui/UDebugMemo.h"

TDebugMemo::TDebugMemo(QWidget* Parent) : QPlainTextEdit(Parent) {
  setObjectName(QStringLiteral("DebugMemo"));
  setPlainText(QStringLiteral("Debug info..."));
  // Option listings are tables of numbers: keep them readable and unbroken.
  setLineWrapMode(QPlainTextEdit::NoWrap);
}
