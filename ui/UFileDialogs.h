#pragma once
// The window's file dialogs: they open where the user last chose a file (kept between starts,
// at first the documents folder), add the usual suffix to a name typed without one, and a file
// that cannot be used gets a plain warning, never an error report.

#include <QString>
#include <memory>

class QFileDialog;
class QSettings;
class QWidget;

/// What the window keeps between starts (its size and place, the last folder), in a settings file
/// of its own ("kartsim/window" in the user's configuration folder).
std::unique_ptr<QSettings> WindowSettings();

/// The folder the file dialogs open in.
QString LastFolder();
/// Keeps the folder of Path for the next dialog, also after the next start.
void RememberFolder(const QString& Path);
/// Opens Dialog in LastFolder() and, once the user has chosen, keeps the folder; the chosen file,
/// or an empty string when the dialog was cancelled.
QString RunFileDialog(QFileDialog& Dialog);

/// Asks for a file to open, or to save (then Suffix, without its dot, is added to a name typed
/// without one); an empty string when cancelled. Filter is as QFileDialog takes it.
QString AskOpenFile(QWidget* Parent, const QString& Title, const QString& Filter);
QString AskSaveFile(QWidget* Parent, const QString& Title, const QString& Filter,
                    const QString& Suffix);

/// Tells the user plainly that a file they chose cannot be used: Message names the file and what
/// is wrong with it. Nothing is logged: this is no fault of the program.
void WarnAboutFile(QWidget* Parent, const QString& Title, const QString& Message);
