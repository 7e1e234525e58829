#pragma once
// Help > About: the program's name and version, and its read-me to read inside the program.

class QWidget;

/// Shows the About box over Parent; its link opens the read-me in a window of its own.
void ShowAbout(QWidget* Parent);
/// Opens (or brings to the front) the read-me, as shipped with this build.
void ShowReadMe(QWidget* Parent);
