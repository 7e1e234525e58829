#pragma once
// What a name on disk is, in the words a message uses, and writing to what it names.

#include <sys/types.h>

#include <string>

/// The kind of file the type bits of Mode give: "a regular file", "a folder", "a FIFO", "a
/// character device", "a block device", "a socket", "a symbolic link", or "a special file".
std::string FileKindName(mode_t Mode);

/// Writes all of Data to Fd, again after an interrupted or partial write. Returns 0, or the
/// system's error (ENOSPC for a write that took nothing).
int WriteWhole(int Fd, const std::string& Data);
