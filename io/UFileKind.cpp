#include "io/UFileKind.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::string FileKindName(mode_t Mode) {
  if (S_ISREG(Mode)) return "a regular file";
  if (S_ISDIR(Mode)) return "a folder";
  if (S_ISFIFO(Mode)) return "a FIFO";
  if (S_ISCHR(Mode)) return "a character device";
  if (S_ISBLK(Mode)) return "a block device";
  if (S_ISSOCK(Mode)) return "a socket";
  if (S_ISLNK(Mode)) return "a symbolic link";
  return "a special file";
}

int WriteWhole(int Fd, const std::string& Data) {
  size_t Done = 0;
  while (Done < Data.size()) {
    const ssize_t N = ::write(Fd, Data.data() + Done, Data.size() - Done);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return N < 0 ? errno : ENOSPC;
    Done += static_cast<size_t>(N);
  }
  return 0;
}
