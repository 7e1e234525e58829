#include "io/UAtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t FlushAt = 1 << 16;

// Files still open, so that leaving the program by std::exit removes their temporary files.
std::vector<TAtomicFile*>& OpenFiles() {
  static std::vector<TAtomicFile*> Files;
  return Files;
}

void DiscardAtExit() {
  // Discard unregisters each file, so work on a copy.
  const std::vector<TAtomicFile*> Files = OpenFiles();
  for (TAtomicFile* File : Files) File->Discard();
}

void Register(TAtomicFile* File) {
  // The list exists before the hook, so it is destroyed only after the hook has run.
  auto& Files = OpenFiles();
  static const bool Hooked = [] { return std::atexit(DiscardAtExit) == 0; }();
  (void)Hooked;
  Files.push_back(File);
}

void Unregister(TAtomicFile* File) {
  auto& Files = OpenFiles();
  Files.erase(std::remove(Files.begin(), Files.end(), File), Files.end());
}

/// The file a symbolic link leads to, so the link itself survives; Path itself otherwise.
std::string ThroughLinks(const std::string& Path) {
  struct stat Link {};
  if (lstat(Path.c_str(), &Link) != 0 || !S_ISLNK(Link.st_mode)) return Path;
  char Resolved[PATH_MAX];
  if (realpath(Path.c_str(), Resolved) != nullptr) return Resolved;
  return Path;  // a dangling link: replaced by the file itself
}

}  // namespace

TAtomicFile::~TAtomicFile() { Discard(); }

bool TAtomicFile::Fail(int Errno) {
  if (Reason.empty()) Reason = std::strerror(Errno);
  return false;
}

bool TAtomicFile::Open(const std::string& Path) {
  Discard();
  Reason.clear();
  Buffer.clear();
  Target = ThroughLinks(Path);
  struct stat Existing {};
  const bool Exists = stat(Target.c_str(), &Existing) == 0;
  if (Exists && S_ISDIR(Existing.st_mode)) return Fail(EISDIR);

  const size_t Slash = Target.rfind('/');
  const std::string Folder =
      Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
  const std::string Leaf = Slash == std::string::npos ? Target : Target.substr(Slash + 1);
  Temporary = Folder + "." + Leaf + ".XXXXXX";
  Fd = mkostemp(Temporary.data(), O_CLOEXEC);
  if (Fd < 0) {
    Temporary.clear();
    return Fail(errno);
  }
  Register(this);
  // mkstemp makes the file private; give it the mode a plain create would (or the old file's).
  const mode_t Mask = umask(0);
  umask(Mask);
  fchmod(Fd, Exists ? (Existing.st_mode & 07777) : (0666 & ~Mask));
  return true;
}

bool TAtomicFile::Write(const char* Data, size_t Size) {
  if (Fd < 0 || Failed()) return false;
  Buffer.append(Data, Size);
  return Buffer.size() < FlushAt || Flush();
}

bool TAtomicFile::Flush() {
  if (Fd < 0 || Failed()) return false;
  size_t Done = 0;
  while (Done < Buffer.size()) {
    const ssize_t N = ::write(Fd, Buffer.data() + Done, Buffer.size() - Done);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return Fail(N < 0 ? errno : ENOSPC);
    Done += static_cast<size_t>(N);
  }
  Buffer.clear();
  return true;
}

bool TAtomicFile::Commit() {
  if (Fd < 0 || !Flush()) {
    Discard();
    return false;
  }
  const int Closed = ::close(Fd);
  Fd = -1;
  if (Closed != 0) {
    Fail(errno);
    Discard();
    return false;
  }
  if (std::rename(Temporary.c_str(), Target.c_str()) != 0) {
    Fail(errno);
    Discard();
    return false;
  }
  Temporary.clear();
  Unregister(this);
  return true;
}

void TAtomicFile::Discard() {
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
  if (!Temporary.empty()) ::unlink(Temporary.c_str());
  Temporary.clear();
  Buffer.clear();
  Unregister(this);
}
