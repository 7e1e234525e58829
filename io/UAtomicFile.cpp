#include "io/UAtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "io/UFileKind.h"

namespace {

constexpr size_t FlushAt = 1 << 16;

// Files with a temporary file, so that leaving the program by std::exit removes it. A run may
// hold back thousands of finished frames, hence a set.
std::unordered_set<TAtomicFile*>& OpenFiles() {
  static std::unordered_set<TAtomicFile*> Files;
  return Files;
}

void DiscardAtExit() {
  // Discard unregisters each file, so work on a copy.
  const std::vector<TAtomicFile*> Files(OpenFiles().begin(), OpenFiles().end());
  for (TAtomicFile* File : Files) File->Discard();
}

void Register(TAtomicFile* File) {
  // The set exists before the hook, so it is destroyed only after the hook has run.
  auto& Files = OpenFiles();
  static const bool Hooked = [] { return std::atexit(DiscardAtExit) == 0; }();
  (void)Hooked;
  Files.insert(File);
}

void Unregister(TAtomicFile* File) { OpenFiles().erase(File); }

/// The file a symbolic link leads to, so the link itself survives; Path itself otherwise.
std::string ThroughLinks(const std::string& Path) {
  struct stat Link {};
  if (lstat(Path.c_str(), &Link) != 0 || !S_ISLNK(Link.st_mode)) return Path;
  char Resolved[PATH_MAX];
  if (realpath(Path.c_str(), Resolved) != nullptr) return Resolved;
  return Path;  // a dangling link: replaced by the file itself
}

}  // namespace

bool SwapNames(const std::string& A, const std::string& B) {
  if (renameat2(AT_FDCWD, A.c_str(), AT_FDCWD, B.c_str(), RENAME_EXCHANGE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the exchange: through a third name beside A, which is unique.
  const std::string Third = A + ".swap";
  if (std::rename(B.c_str(), Third.c_str()) != 0) return false;
  if (std::rename(A.c_str(), B.c_str()) != 0) {
    const int Error = errno;
    std::rename(Third.c_str(), B.c_str());
    errno = Error;
    return false;
  }
  return std::rename(Third.c_str(), A.c_str()) == 0;
}

std::string NotARegularFile(const std::string& Path) {
  struct stat Info {};
  if (stat(Path.c_str(), &Info) != 0 || S_ISREG(Info.st_mode)) return {};
  return "it is " + FileKindName(Info.st_mode) + ", not a regular file";
}

TAtomicFile::~TAtomicFile() { Discard(); }

bool TAtomicFile::Fail(int Errno) {
  if (Reason.empty()) Reason = std::strerror(Errno);
  return false;
}

bool TAtomicFile::Refuse(const std::string& Why) {
  if (Reason.empty()) Reason = Why;
  return false;
}

bool TAtomicFile::Open(const std::string& Path) {
  Discard();
  Reason.clear();
  Buffer.clear();
  Target = ThroughLinks(Path);
  // A device, a FIFO or a folder keeps its node: renaming a file over it would destroy it.
  if (const std::string Why = NotARegularFile(Target); !Why.empty()) return Refuse(Why);
  struct stat Existing {};
  const bool Exists = stat(Target.c_str(), &Existing) == 0;

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
  Stage = TStage::Writing;
  Register(this);
  // mkstemp makes the file private; give it the mode a plain create would (or the old file's).
  const mode_t Mask = umask(0);
  umask(Mask);
  fchmod(Fd, Exists ? (Existing.st_mode & 07777) : (0666 & ~Mask));
  return true;
}

bool TAtomicFile::Write(const char* Data, size_t Size) {
  if (Stage != TStage::Writing || Failed()) return false;
  Buffer.append(Data, Size);
  return Buffer.size() < FlushAt || Flush();
}

bool TAtomicFile::Flush() {
  if (Stage != TStage::Writing || Failed()) return false;
  if (const int Error = WriteWhole(Fd, Buffer)) return Fail(Error);
  Buffer.clear();
  return true;
}

bool TAtomicFile::Finish() {
  if (Stage != TStage::Writing || !Flush()) {
    if (Reason.empty()) Refuse("the file is not open for writing");
    Discard();
    return false;
  }
  const int Closed = ::close(Fd);
  Fd = -1;
  Stage = TStage::Finished;
  if (Closed != 0) {
    Fail(errno);
    Discard();
    return false;
  }
  return true;
}

bool TAtomicFile::Publish() {
  if (Stage != TStage::Finished) return Refuse("the file is not finished");
  // Looked at again: something else may have taken the name while the file was written.
  if (const std::string Why = NotARegularFile(Target); !Why.empty()) return Refuse(Why);
  // Swapped with an earlier file, which then waits under the temporary name; created where there
  // was none.
  struct stat Existing {};
  if (lstat(Target.c_str(), &Existing) == 0) {
    if (!SwapNames(Temporary, Target)) return Fail(errno);
    KeptAside = true;
  } else if (renameat2(AT_FDCWD, Temporary.c_str(), AT_FDCWD, Target.c_str(), RENAME_NOREPLACE) ==
                 0 ||
             ((errno == EINVAL || errno == ENOSYS) &&
              std::rename(Temporary.c_str(), Target.c_str()) == 0)) {
    KeptAside = false;
    Temporary.clear();
  } else {
    return Fail(errno);
  }
  Stage = TStage::Published;
  return true;
}

bool TAtomicFile::Undo() {
  if (Stage != TStage::Published) return false;
  const bool Done = KeptAside ? SwapNames(Temporary, Target) : ::unlink(Target.c_str()) == 0;
  if (!Done) Fail(errno);
  // The new file now waits under the temporary name (or is gone); either way it goes.
  KeptAside = false;
  Stage = TStage::Finished;
  Discard();
  return Done;
}

void TAtomicFile::Settle() {
  if (Stage != TStage::Published) return;
  if (KeptAside) ::unlink(Temporary.c_str());
  KeptAside = false;
  Temporary.clear();
  Stage = TStage::Closed;
  Unregister(this);
}

bool TAtomicFile::Commit() {
  if (!Finish() || !Publish()) {
    Discard();
    return false;
  }
  Settle();
  return true;
}

void TAtomicFile::Discard() {
  if (Stage == TStage::Published) return Settle();
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
  if (!Temporary.empty()) ::unlink(Temporary.c_str());
  Temporary.clear();
  Buffer.clear();
  Stage = TStage::Closed;
  Unregister(this);
}
