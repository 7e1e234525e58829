#pragma once
// What a name on disk is, in the words a message uses.

#include <sys/types.h>

#include <string>

/// The kind of file the type bits of Mode give: "a regular file", "a folder", "a FIFO", "a
/// character device", "a block device", "a socket", "a symbolic link", or "a special file".
std::string FileKindName(mode_t Mode);
