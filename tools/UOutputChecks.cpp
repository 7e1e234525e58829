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

namespace {

/// Where a name leads: the file itself when it exists, and its path with links resolved.
struct TPlace {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  std::string Folder;  ///< resolved where it exists, as written otherwise
  std::string Leaf;
};

std::string Resolved(const std::string& Path) {
  char Buffer[PATH_MAX];
  return realpath(Path.c_str(), Buffer) ? std::string(Buffer) : std::string();
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
    if (const std::string Full = Resolved(Name); !Full.empty()) Path = Full;
  }
  if (Path.empty() || Path[0] != '/') {
    char Here[PATH_MAX];
    if (getcwd(Here, sizeof Here)) Path = std::string(Here) + "/" + Path;
  }
  const size_t Slash = Path.rfind('/');
  Place.Leaf = Path.substr(Slash + 1);
  Place.Folder = Path.substr(0, Slash + 1);
  if (const std::string Folder = Resolved(Place.Folder); !Folder.empty())
    Place.Folder = Folder + "/";
  return Place;
}

bool Same(const TPlace& A, const TPlace& B) {
  if (A.Exists && B.Exists) return A.Device == B.Device && A.Inode == B.Inode;
  return A.Folder == B.Folder && A.Leaf == B.Leaf;
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

/// The number of the frame that would replace Target, or 0.
int FrameOver(const TPlace& Target, const std::string& Base, int Moves) {
  const TPlace First = PlaceOf(Base + "_0001.bmp", false);
  const std::string Prefix = First.Leaf.substr(0, First.Leaf.size() - 8);
  if (Target.Folder == First.Folder)
    if (const int N = FrameNumberOf(Target.Leaf, Prefix, Moves)) return N;
  if (!Target.Exists) return 0;
  // A frame name that exists already may lead to Target through a link.
  DIR* Folder = opendir(First.Folder.c_str());
  if (!Folder) return 0;
  int Found = 0;
  while (const dirent* Entry = readdir(Folder)) {
    const int N = FrameNumberOf(Entry->d_name, Prefix, Moves);
    if (N && Same(PlaceOf(First.Folder + Entry->d_name), Target)) {
      Found = N;
      break;
    }
  }
  closedir(Folder);
  return Found;
}

QString Shown(const QByteArray& Name) { return QFile::decodeName(Name); }

}  // namespace

QString FindOutputClash(const TRunFiles& Files) {
  const std::string Circuit = Files.Circuit.toStdString();
  const std::string Csv = Files.Csv.toStdString();
  const std::string Frames = Files.FrameBase.toStdString();
  if (!Csv.empty() && !Circuit.empty() && Same(PlaceOf(Csv), PlaceOf(Circuit)))
    return QStringLiteral("--csv '%1' is the circuit file '%2': the run would overwrite it.")
        .arg(Shown(Files.Csv), Shown(Files.Circuit));
  if (Frames.empty()) return {};
  if (!Circuit.empty())
    if (const int N = FrameOver(PlaceOf(Circuit), Frames, Files.Moves))
      return QStringLiteral("--frames would overwrite the circuit file '%1' with frame %2.")
          .arg(Shown(Files.Circuit))
          .arg(N);
  if (!Csv.empty())
    if (const int N = FrameOver(PlaceOf(Csv), Frames, Files.Moves))
      return QStringLiteral("--csv '%1' is also the name of frame %2 of --frames.")
          .arg(Shown(Files.Csv))
          .arg(N);
  return {};
}

QString StandardOutputFailure() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return {};
  const int Error = errno ? errno : EIO;
  return QString::fromLocal8Bit(std::strerror(Error));
}
