#pragma once
// File names on the command line, kept exactly as the system gave them.

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The program's arguments as text that loses nothing: valid UTF-8 is decoded, and each byte
/// that is not part of valid UTF-8 becomes the lone surrogate U+DC80 + byte, so that
/// NativeName gives the original bytes back.
QStringList ArgumentsAsGiven(int Argc, const char* const* Argv);

/// The system's bytes for a name taken from ArgumentsAsGiven (or any other text).
QByteArray NativeName(const QString& Name);
