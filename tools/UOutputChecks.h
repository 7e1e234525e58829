#pragma once
// Checks that keep the runner's outputs from damaging its inputs or each other, and from
// failing unnoticed.

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <vector>

/// One file or folder a run reads or writes, as named on the command line.
struct TRunFile {
  enum class TRole {
    Input,   ///< read before the run
    Output,  ///< one file written ("-": standard output)
    Frames,  ///< BASE_0001.bmp up to BASE_<Moves>.bmp
    Folder,  ///< a folder replaced as a whole
  };
  TRole Role = TRole::Output;
  const char* Option = "";    ///< its option, without the dashes
  QByteArray Name;            ///< the system's bytes; empty: not used
  const char* What = "file";  ///< an input as messages call it: "circuit file"
};

/// Why the run must not start, or an empty string: an output that would replace an input or
/// another output, a file inside a folder that the run replaces as a whole, or an output that is
/// standard error's file. Files are the same when they are one file on disk (links followed, hard
/// links included) or, where they do not exist yet, when their resolved paths are equal; "-" is
/// standard output's file. Moves says how many frames there are.
QString FindOutputClash(const std::vector<TRunFile>& Files, int Moves);

/// Whether Name leads to the regular file standard output writes to, so that replacing it would
/// lose what is printed ("-" is not such a name).
bool IsStandardOutputFile(const QByteArray& Name);

/// Why the folder that would hold the file Name cannot take it ("the folder 'x' does not exist"),
/// or an empty string.
QString FolderProblem(const QByteArray& Name);

/// The frame names among BASE_0001.bmp .. BASE_<Moves>.bmp that exist and are not regular files
/// (links followed): the first, with what it is ("'f_0002.bmp' is a FIFO"), or an empty string.
QString FrameInTheWay(const QByteArray& Base, int Moves);

/// Hands everything printed so far on Stream to the system; the system's reason when that or any
/// earlier write to it failed, an empty string otherwise.
QString StreamFailure(std::FILE* Stream);
inline QString StandardOutputFailure() { return StreamFailure(stdout); }
/// Ends the program with status 1 and the reason when what was printed on Out (standard output
/// or standard error) could not be written.
void CheckPrinted(std::FILE* Out);
