#include "io/UOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/UFileKind.h"

namespace {
constexpr size_t FlushAt = 1 << 16;
}  // namespace

TOutputFile::~TOutputFile() { Discard(); }

bool TOutputFile::Fail(int Errno) {
  if (Reason.empty()) Reason = std::strerror(Errno);
  return false;
}

bool TOutputFile::Open(const std::string& Path, const std::function<void()>& Waiting) {
  Discard();
  Reason.clear();
  if (Path == "-") {
    Stream = STDOUT_FILENO;
    OwnsStream = false;
    return true;
  }
  struct stat Info {};
  if (stat(Path.c_str(), &Info) != 0 || S_ISREG(Info.st_mode)) {
    if (Atomic.Open(Path)) return true;
    Reason = Atomic.Error();
    return false;
  }
  if (!S_ISFIFO(Info.st_mode) && !S_ISCHR(Info.st_mode)) {
    Reason = "it is " + FileKindName(Info.st_mode) + ", which is written only as a file";
    return false;
  }
  // Never created or truncated: the node is written as it is. A FIFO without a reader would
  // block the open, so it is tried without waiting first.
  const int Flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
  int Fd = ::open(Path.c_str(), Flags | O_NONBLOCK);
  if (Fd < 0 && errno == ENXIO && S_ISFIFO(Info.st_mode)) {
    if (Waiting) Waiting();
    do Fd = ::open(Path.c_str(), Flags);
    while (Fd < 0 && errno == EINTR);
  } else if (Fd >= 0) {
    // Blocking writes from here on: a slow reader slows the run instead of failing it.
    fcntl(Fd, F_SETFL, fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
  }
  if (Fd < 0) return Fail(errno);
  Stream = Fd;
  OwnsStream = true;
  return true;
}

bool TOutputFile::Write(const char* Data, size_t Size) {
  if (Stream < 0) return Atomic.Write(Data, Size);
  if (Failed()) return false;
  Buffer.append(Data, Size);
  return Buffer.size() < FlushAt || Flush();
}

bool TOutputFile::Flush() {
  if (Stream < 0) return Atomic.Flush();
  if (Failed()) return false;
  if (const int Error = WriteWhole(Stream, Buffer)) return Fail(Error);
  Buffer.clear();
  return true;
}

bool TOutputFile::Finish() {
  if (Stream < 0) return Atomic.Finish();
  return Flush();
}

bool TOutputFile::Publish() { return Stream >= 0 ? !Failed() : Atomic.Publish(); }

bool TOutputFile::Undo() { return Stream >= 0 || Atomic.Undo(); }

void TOutputFile::Settle() {
  if (Stream < 0) return Atomic.Settle();
  CloseStream();
}

void TOutputFile::Discard() {
  Atomic.Discard();
  CloseStream();
}

void TOutputFile::CloseStream() {
  if (Stream >= 0 && OwnsStream) ::close(Stream);
  Stream = -1;
  OwnsStream = false;
  Buffer.clear();
}
