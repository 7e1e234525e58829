#pragma once
// The folder chosen for saving frames must take them before saving is switched on.

#include <QString>

class QWidget;

/// Why no frame can be written beside BaseName (its folder is missing, is no folder, or refuses a
/// file); empty when frames can be written there.
QString SaveFolderProblem(const QString& BaseName);

/// True when frames can be saved beside BaseName; otherwise says why in a box over Parent.
bool AcceptSaveFolder(QWidget* Parent, const QString& BaseName);
