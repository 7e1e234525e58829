#include "io/UFileKind.h"

#include <sys/stat.h>

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
