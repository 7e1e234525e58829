#include "tools/UOutputChecks.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "io/UFileKind.h"
#include "tools/UKartRunOptions.h"

namespace {

using TRole = TRunFile::TRole;

/// Where a name leads: the file itself when it exists, and its path with links resolved.
struct TPlace {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  mode_t Mode = 0;
  std::string Folder;  ///< resolved where it exists, as written otherwise; ends in '/'
  std::string Leaf;
  std::string Full() const { return Folder + Leaf; }
};

std::string Resolved(const std::string& Path) {
  char Buffer[PATH_MAX];
  return realpath(Path.c_str(), Buffer) ? std::string(Buffer) : std::string();
}

/// The file an open descriptor writes to.
TPlace PlaceOfDescriptor(int Fd, const char* Name) {
  TPlace Place;
  struct stat Info {};
  Place.Leaf = Name;  // never a path: two places differ unless the files are the same
  if (fstat(Fd, &Info) == 0) {
    Place.Exists = true;
    Place.Device = Info.st_dev;
    Place.Inode = Info.st_ino;
    Place.Mode = Info.st_mode;
  }
  return Place;
}

/// Name's place; with FollowLeaf false, a link in the last part of the name is not followed.
TPlace PlaceOf(const std::string& Name, bool FollowLeaf = true) {
  TPlace Place;
  struct stat Info {};
  std::string Path = Name;
  if (FollowLeaf && stat(Name.c_str(), &Info) == 0) {
    Place.Exists = true;
    Place.Device = Info.st_dev;
    Place.Inode = Info.st_ino;
    Place.Mode = Info.st_mode;
    if (const std::string Full = Resolved(Name); !Full.empty()) Path = Full;
  }
  if (Path.empty() || Path[0] != '/') {
    char Here[PATH_MAX];
    if (getcwd(Here, sizeof Here)) Path = std::string(Here) + "/" + Path;
  }
  while (Path.size() > 1 && Path.back() == '/') Path.pop_back();
  const size_t Slash = Path.rfind('/');
  Place.Leaf = Path.substr(Slash + 1);
  Place.Folder = Path.substr(0, Slash + 1);
  if (const std::string Folder = Resolved(Place.Folder); !Folder.empty())
    Place.Folder = Folder == "/" ? Folder : Folder + "/";
  return Place;
}

TPlace PlaceOf(const TRunFile& File) {
  if (File.Role == TRole::Output && File.Name == "-")
    return PlaceOfDescriptor(STDOUT_FILENO, "<standard output>");
  return PlaceOf(File.Name.toStdString());
}

bool Same(const TPlace& A, const TPlace& B) {
  if (A.Exists && B.Exists) return A.Device == B.Device && A.Inode == B.Inode;
  return A.Folder == B.Folder && A.Leaf == B.Leaf;
}

/// Whether Place is Folder itself or lies anywhere below it.
bool Inside(const TPlace& Place, const TPlace& Folder) {
  if (Place.Folder.empty()) return false;  // a descriptor
  const std::string Top = Folder.Full() + "/";
  return Place.Full() == Folder.Full() || Place.Full().compare(0, Top.size(), Top) == 0;
}

/// The frame number Leaf has among frames named Prefix + "%4.4d" + ".bmp", 1 to Moves; else 0.
int FrameNumberOf(const std::string& Leaf, const std::string& Prefix, int Moves) {
  const std::string Suffix = ".bmp";
  if (Leaf.size() < Prefix.size() + 4 + Suffix.size() || Leaf.compare(0, Prefix.size(), Prefix) ||
      Leaf.compare(Leaf.size() - Suffix.size(), Suffix.size(), Suffix))
    return 0;
  const std::string Digits = Leaf.substr(Prefix.size(), Leaf.size() - Prefix.size() - 4);
  if (Digits.size() > 9 || Digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int N = std::atoi(Digits.c_str());
  char Formatted[16];
  std::snprintf(Formatted, sizeof Formatted, "%4.4d", N);
  return N >= 1 && N <= Moves && Digits == Formatted ? N : 0;
}

/// The folder of the frames and the part of their names before the number.
void FramesPlace(const std::string& Base, std::string& Folder, std::string& Prefix) {
  const TPlace First = PlaceOf(Base + "_0001.bmp", false);
  Folder = First.Folder;
  Prefix = First.Leaf.substr(0, First.Leaf.size() - 8);
}

/// Calls Visit(number, name) for every existing frame name of Base, up to Moves, until it says
/// to stop.
template <typename F>
void ForEachFrame(const std::string& Base, int Moves, F Visit) {
  std::string Folder, Prefix;
  FramesPlace(Base, Folder, Prefix);
  DIR* D = opendir(Folder.c_str());
  if (!D) return;
  while (const dirent* Entry = readdir(D))
    if (const int N = FrameNumberOf(Entry->d_name, Prefix, Moves))
      if (!Visit(N, Folder + Entry->d_name)) break;
  closedir(D);
}

/// The number of the frame that would replace Target, or 0.
int FrameOver(const TPlace& Target, const std::string& Base, int Moves) {
  std::string Folder, Prefix;
  FramesPlace(Base, Folder, Prefix);
  if (Target.Folder == Folder)
    if (const int N = FrameNumberOf(Target.Leaf, Prefix, Moves)) return N;
  if (!Target.Exists) return 0;
  // A frame name that exists already may lead to Target through a link.
  int Found = 0;
  ForEachFrame(Base, Moves, [&](int N, const std::string& Name) {
    if (Same(PlaceOf(Name), Target)) Found = N;
    return Found == 0;
  });
  return Found;
}

QString Shown(const QByteArray& Name) { return QFile::decodeName(Name); }
QString Option(const TRunFile& F) { return QStringLiteral("--") + QString::fromLatin1(F.Option); }
/// "--csv 'x'", or "--csv -" for standard output.
QString Named(const TRunFile& F) {
  return F.Name == "-" && F.Role == TRole::Output
             ? Option(F) + QStringLiteral(" -")
             : QStringLiteral("%1 '%2'").arg(Option(F), Shown(F.Name));
}

/// Why the pair cannot run together, or an empty string. A comes before B on the list.
QString PairClash(const TRunFile& A, const TRunFile& B, int Moves) {
  if (A.Role == TRole::Input && B.Role == TRole::Input) return {};
  if (A.Role == TRole::Folder || B.Role == TRole::Folder) {
    const TRunFile& Folder = A.Role == TRole::Folder ? A : B;
    const TRunFile& Other = A.Role == TRole::Folder ? B : A;
    const TPlace Top = PlaceOf(Folder.Name.toStdString());
    TPlace Place = PlaceOf(Other);
    if (Other.Role == TRole::Frames) {
      std::string FramesFolder, Prefix;
      FramesPlace(Other.Name.toStdString(), FramesFolder, Prefix);
      Place = PlaceOf(FramesFolder);
    }
    if (!Inside(Place, Top)) return {};
    return QStringLiteral("%1 lies inside the %2 folder '%3', which the run replaces as a whole.")
        .arg(Named(Other), Option(Folder), Shown(Folder.Name));
  }
  if (A.Role == TRole::Frames || B.Role == TRole::Frames) {
    const TRunFile& Frames = A.Role == TRole::Frames ? A : B;
    const TRunFile& Other = A.Role == TRole::Frames ? B : A;
    if (Other.Role == TRole::Frames) return {};
    const int N = FrameOver(PlaceOf(Other), Frames.Name.toStdString(), Moves);
    if (N == 0) return {};
    if (Other.Role == TRole::Input)
      return QStringLiteral("%1 would overwrite the %2 '%3' with frame %4.")
          .arg(Option(Frames), QString::fromLatin1(Other.What), Shown(Other.Name))
          .arg(N);
    return QStringLiteral("%1 is also the name of frame %2 of %3.")
        .arg(Named(Other))
        .arg(N)
        .arg(Option(Frames));
  }
  if (!Same(PlaceOf(A), PlaceOf(B))) return {};
  if (A.Role == TRole::Input || B.Role == TRole::Input) {
    const TRunFile& In = A.Role == TRole::Input ? A : B;
    const TRunFile& Out = A.Role == TRole::Input ? B : A;
    return QStringLiteral("%1 is the %2 '%3': the run would overwrite it.")
        .arg(Named(Out), QString::fromLatin1(In.What), Shown(In.Name));
  }
  if (A.Name == "-" && B.Name == "-")
    return QStringLiteral("%1 and %2 both write to standard output.").arg(Option(A), Option(B));
  return QStringLiteral("%1 and %2 name the same file.").arg(Named(A), Named(B));
}

}  // namespace

QString FindOutputClash(const std::vector<TRunFile>& Files, int Moves) {
  for (size_t I = 0; I < Files.size(); ++I) {
    if (Files[I].Name.isEmpty()) continue;
    for (size_t J = I + 1; J < Files.size(); ++J)
      if (!Files[J].Name.isEmpty())
        if (QString Clash = PairClash(Files[I], Files[J], Moves); !Clash.isEmpty()) return Clash;
  }
  // Replacing the file that standard error (or output) writes to would lose what is printed.
  for (const auto& [Fd, Stream] :
       {std::pair{STDERR_FILENO, "standard error"}, std::pair{STDOUT_FILENO, "standard output"}}) {
    const TPlace Printed = PlaceOfDescriptor(Fd, Stream);
    if (!Printed.Exists || !S_ISREG(Printed.Mode)) continue;
    for (const TRunFile& F : Files) {
      if (F.Name.isEmpty() || F.Role == TRole::Input || F.Role == TRole::Folder) continue;
      if (F.Role == TRole::Output && F.Name == "-") continue;
      if (F.Role == TRole::Frames) {
        if (const int N = FrameOver(Printed, F.Name.toStdString(), Moves))
          return QStringLiteral("%1 would overwrite the file %2 is written to with frame %3.")
              .arg(Option(F), QString::fromLatin1(Stream))
              .arg(N);
      } else if (Same(PlaceOf(F), Printed)) {
        return QStringLiteral("%1 is the file %2 is written to: the run would replace it.")
            .arg(Named(F), QString::fromLatin1(Stream));
      }
    }
  }
  return {};
}

bool IsStandardOutputFile(const QByteArray& Name) {
  if (Name.isEmpty() || Name == "-") return false;
  const TPlace Printed = PlaceOfDescriptor(STDOUT_FILENO, "<standard output>");
  return Printed.Exists && S_ISREG(Printed.Mode) && Same(PlaceOf(Name.toStdString()), Printed);
}

QString FolderProblem(const QByteArray& Name) {
  struct stat Info {};
  const std::string Path = Name.toStdString();
  // An existing name, or a link whose target is missing, has a folder already.
  if (Name == "-" || stat(Path.c_str(), &Info) == 0 || lstat(Path.c_str(), &Info) == 0) return {};
  const size_t Slash = Path.rfind('/');
  const std::string Folder = Slash == std::string::npos ? std::string(".")
                             : Slash == 0               ? std::string("/")
                                                        : Path.substr(0, Slash);
  const QString Shown = QFile::decodeName(QByteArray::fromStdString(Folder));
  if (stat(Folder.c_str(), &Info) != 0)
    return errno == ENOENT ? QStringLiteral("the folder '%1' does not exist").arg(Shown)
                           : QStringLiteral("the folder '%1' cannot be reached (%2)")
                                 .arg(Shown, QString::fromLocal8Bit(std::strerror(errno)));
  if (!S_ISDIR(Info.st_mode))
    return QStringLiteral("'%1' is %2, not a folder")
        .arg(Shown, QString::fromStdString(FileKindName(Info.st_mode)));
  return {};
}

QString FrameInTheWay(const QByteArray& Base, int Moves) {
  QString Found;
  ForEachFrame(Base.toStdString(), Moves, [&](int, const std::string& Name) {
    struct stat Info {};
    if (stat(Name.c_str(), &Info) == 0 && !S_ISREG(Info.st_mode))
      Found = QStringLiteral("'%1' is %2")
                  .arg(QFile::decodeName(QByteArray::fromStdString(Name)),
                       QString::fromStdString(FileKindName(Info.st_mode)));
    return Found.isEmpty();
  });
  return Found;
}

QString StreamFailure(std::FILE* Stream) {
  errno = 0;
  if (std::fflush(Stream) == 0 && !std::ferror(Stream)) return {};
  const int Error = errno ? errno : EIO;
  return QString::fromLocal8Bit(std::strerror(Error));
}

void CheckPrinted(std::FILE* Out) {
  if (const QString Error = StreamFailure(Out); !Error.isEmpty())
    Fail(QStringLiteral("cannot write to %1: %2")
             .arg(Out == stdout ? QStringLiteral("standard output")
                                : QStringLiteral("standard error"),
                  Error),
         1);
}
