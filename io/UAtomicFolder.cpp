#include "io/UAtomicFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "io/UAtomicFile.h"
#include "io/UFileKind.h"

namespace {

std::unordered_set<TAtomicFolder*>& OpenFolders() {
  static std::unordered_set<TAtomicFolder*> Folders;
  return Folders;
}

void DiscardAtExit() {
  const std::vector<TAtomicFolder*> Folders(OpenFolders().begin(), OpenFolders().end());
  for (TAtomicFolder* Folder : Folders) Folder->Discard();
}

void Register(TAtomicFolder* Folder) {
  auto& Folders = OpenFolders();
  static const bool Hooked = [] { return std::atexit(DiscardAtExit) == 0; }();
  (void)Hooked;
  Folders.insert(Folder);
}

/// Removes Folder (named with or without a final '/') and the files in it.
void RemoveFolder(std::string Folder) {
  if (!Folder.empty() && Folder.back() == '/') Folder.pop_back();
  if (DIR* D = opendir(Folder.c_str())) {
    while (const dirent* Entry = readdir(D))
      if (std::strcmp(Entry->d_name, ".") != 0 && std::strcmp(Entry->d_name, "..") != 0)
        ::unlink((Folder + "/" + Entry->d_name).c_str());
    closedir(D);
  }
  ::rmdir(Folder.c_str());
}

std::string Resolved(const std::string& Path) {
  char Buffer[PATH_MAX];
  return realpath(Path.c_str(), Buffer) ? std::string(Buffer) : std::string();
}

}  // namespace

TAtomicFolder::~TAtomicFolder() { Discard(); }

bool TAtomicFolder::Fail(int Errno) {
  if (Reason.empty()) Reason = std::strerror(Errno);
  return false;
}

bool TAtomicFolder::Refuse(const std::string& Why) {
  if (Reason.empty()) Reason = Why;
  return false;
}

bool TAtomicFolder::Open(const std::string& Path, TAccepts MayReplace) {
  Discard();
  Reason.clear();
  Accepts = std::move(MayReplace);
  std::string Name = Path;
  while (Name.size() > 1 && Name.back() == '/') Name.pop_back();
  if (Name.empty()) return Refuse("the name is empty");

  struct stat Info {};
  mode_t Mode = 0777;
  if (stat(Name.c_str(), &Info) == 0) {
    // An earlier folder (or a link to one): replaced as a whole, so it may hold only its own files.
    if (!S_ISDIR(Info.st_mode))
      return Refuse("it is " + FileKindName(Info.st_mode) + ", not a folder");
    Target = Resolved(Name);
    if (Target.empty()) return Fail(errno);
    DIR* D = opendir(Target.c_str());
    if (!D) return Fail(errno);
    std::string Foreign;
    while (const dirent* Entry = readdir(D)) {
      const std::string Leaf = Entry->d_name;
      if (Leaf == "." || Leaf == "..") continue;
      struct stat Item {};
      if (lstat((Target + "/" + Leaf).c_str(), &Item) != 0 || !S_ISREG(Item.st_mode) ||
          !Accepts(Leaf)) {
        Foreign = Leaf;
        break;
      }
    }
    closedir(D);
    if (!Foreign.empty())
      return Refuse("it holds \"" + Foreign + "\", which is not one of its files");
    Mode = Info.st_mode & 07777;
  } else {
    struct stat Link {};
    if (lstat(Name.c_str(), &Link) == 0) return Refuse("it is a symbolic link that leads nowhere");
    if (errno != ENOENT) return Fail(errno);
    // The folders above it that are missing are made now, outermost first.
    std::vector<std::string> Missing;
    std::string Above = Name;
    for (;;) {
      const size_t Slash = Above.rfind('/');
      if (Slash == std::string::npos) break;
      Above = Slash == 0 ? std::string("/") : Above.substr(0, Slash);
      struct stat Up {};
      if (stat(Above.c_str(), &Up) == 0) {
        if (!S_ISDIR(Up.st_mode)) return Refuse("\"" + Above + "\" is not a folder");
        break;
      }
      if (errno != ENOENT) return Fail(errno);
      Missing.insert(Missing.begin(), Above);
      if (Above == "/") break;
    }
    for (const std::string& Folder : Missing) {
      if (::mkdir(Folder.c_str(), 0777) != 0) {
        Fail(errno);
        Discard();
        return false;
      }
      Made.push_back(Folder);
      Register(this);
    }
    const size_t Slash = Name.rfind('/');
    const std::string Parent = Slash == std::string::npos ? std::string(".")
                               : Slash == 0               ? std::string("/")
                                                          : Name.substr(0, Slash);
    const std::string Leaf = Slash == std::string::npos ? Name : Name.substr(Slash + 1);
    const std::string Folder = Resolved(Parent);
    if (Folder.empty()) {
      Fail(errno);
      Discard();
      return false;
    }
    Target = (Folder == "/" ? Folder : Folder + "/") + Leaf;
    const mode_t Mask = umask(0);
    umask(Mask);
    Mode = 0777 & ~Mask;
  }
  const size_t Slash = Target.rfind('/');
  const std::string Leaf = Target.substr(Slash + 1);
  if (Leaf.empty() || Leaf == "." || Leaf == "..") {
    Refuse("it cannot be replaced as a whole");
    Discard();
    return false;
  }
  Temporary = Target.substr(0, Slash + 1) + "." + Leaf + ".XXXXXX";
  if (!mkdtemp(Temporary.data())) {
    Temporary.clear();
    Fail(errno);
    Discard();
    return false;
  }
  // mkdtemp makes the folder private; give it the earlier folder's mode, or a plain mkdir's.
  ::chmod(Temporary.c_str(), Mode);
  Temporary += '/';
  Stage = TStage::Open;
  Register(this);
  return true;
}

bool TAtomicFolder::Publish() {
  if (Stage != TStage::Open) return Refuse("the folder is not open");
  const std::string Written = Temporary.substr(0, Temporary.size() - 1);
  struct stat Info {};
  if (stat(Target.c_str(), &Info) == 0) {
    if (!S_ISDIR(Info.st_mode))
      return Refuse("it is " + FileKindName(Info.st_mode) + ", not a folder");
    if (!SwapNames(Written, Target)) return Fail(errno);
    KeptAside = true;
  } else {
    if (::rename(Written.c_str(), Target.c_str()) != 0) return Fail(errno);
    KeptAside = false;
  }
  Stage = TStage::Published;
  return true;
}

bool TAtomicFolder::Undo() {
  if (Stage != TStage::Published) return false;
  const std::string Aside = Temporary.substr(0, Temporary.size() - 1);
  const bool Done =
      KeptAside ? SwapNames(Aside, Target) : ::rename(Target.c_str(), Aside.c_str()) == 0;
  if (!Done) Fail(errno);
  KeptAside = false;
  Stage = TStage::Open;
  Discard();
  return Done;
}

void TAtomicFolder::Settle() {
  if (Stage != TStage::Published) return;
  if (KeptAside) RemoveFolder(Temporary);
  KeptAside = false;
  Temporary.clear();
  Made.clear();
  Stage = TStage::Closed;
  OpenFolders().erase(this);
}

void TAtomicFolder::Discard() {
  if (Stage == TStage::Published) return Settle();
  if (!Temporary.empty()) RemoveFolder(Temporary);
  Temporary.clear();
  for (auto Folder = Made.rbegin(); Folder != Made.rend(); ++Folder) ::rmdir(Folder->c_str());
  Made.clear();
  Stage = TStage::Closed;
  OpenFolders().erase(this);
}
