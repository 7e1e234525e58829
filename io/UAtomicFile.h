#pragma once
// A file that appears under its name only once it has been written completely.

#include <cstddef>
#include <string>

/// Writes to a temporary file beside the target and renames it over the target on Commit, so the
/// target either keeps its old contents or holds everything that was written. Names are the
/// system's bytes, taken as they are. Every write is checked: the first failure is kept (Error
/// says why, in the system's words) and every later call does nothing. A file that is destroyed,
/// discarded or left open when the program exits (std::exit included) leaves no temporary file.
/// A target that is a symbolic link is replaced through the link, as the picture saver does.
class TAtomicFile {
 public:
  TAtomicFile() = default;
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  /// Creates the temporary file for Path; false, with Error set, when it cannot be created.
  bool Open(const std::string& Path);
  /// Buffers Size bytes; false once any write has failed.
  bool Write(const char* Data, size_t Size);
  bool Write(const std::string& Text) { return Write(Text.data(), Text.size()); }
  /// Hands everything buffered to the system, so a full disk shows now rather than at the end.
  bool Flush();
  /// Flushes, closes and renames the temporary file over the target; on failure removes it.
  bool Commit();
  /// Removes the temporary file; the target stays as it was.
  void Discard();

  bool IsOpen() const { return Fd >= 0; }
  bool Failed() const { return !Reason.empty(); }
  /// Why the first failure happened ("No space left on device"); empty while all is well.
  const std::string& Error() const { return Reason; }

 private:
  bool Fail(int Errno);

  int Fd = -1;
  std::string Target;
  std::string Temporary;
  std::string Buffer;
  std::string Reason;
};
