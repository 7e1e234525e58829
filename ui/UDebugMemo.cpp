#include "ui/UDebugMemo.h"

#include <QScrollBar>
#include <QTextCursor>

TDebugMemo::TDebugMemo(QWidget* Parent) : QPlainTextEdit(Parent) {
  setObjectName(QStringLiteral("DebugMemo"));
  setPlainText(QStringLiteral("Debug info..."));
  // Option listings are tables of numbers: keep them readable and unbroken.
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // The track writes here, the user only reads and scrolls; Tab goes on to the next control.
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setTabChangesFocus(true);
  // It takes the column's height left over, however little: the window opens at the circuit's
  // height.
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
  setMinimumHeight(60);
}

void TDebugMemo::Clear() {
  // A move clears the box more than once; only a box with text in it says where the reader is.
  if (!document()->isEmpty()) {
    SavedVertical = verticalScrollBar()->value();
    SavedHorizontal = horizontalScrollBar()->value();
  }
  clear();
}

void TDebugMemo::SetText(const std::string& Text) {
  if (!document()->isEmpty()) Clear();
  setPlainText(QStringLiteral("Drag coefficient of the last step: ") +
               QString::fromStdString(Text));
  KeepScroll();
}

void TDebugMemo::AddLine(const std::string& Line) {
  QTextCursor End(document());
  End.movePosition(QTextCursor::End);
  if (!document()->isEmpty()) End.insertBlock();
  End.insertText(QString::fromStdString(Line));
  KeepScroll();
}

void TDebugMemo::KeepScroll() {
  verticalScrollBar()->setValue(SavedVertical);
  horizontalScrollBar()->setValue(SavedHorizontal);
}
