#include "ui/UDebugMemo.h"

#include <QTextCursor>

TDebugMemo::TDebugMemo(QWidget* Parent) : QPlainTextEdit(Parent) {
  setObjectName(QStringLiteral("DebugMemo"));
  setPlainText(QStringLiteral("Debug info..."));
  // Option listings are tables of numbers: keep them readable and unbroken.
  setLineWrapMode(QPlainTextEdit::NoWrap);
}

void TDebugMemo::AddLine(const std::string& Line) {
  QTextCursor End(document());
  End.movePosition(QTextCursor::End);
  if (!document()->isEmpty()) End.insertBlock();
  End.insertText(QString::fromStdString(Line));
}
