#pragma once
// A file that appears under its name only once it has been written completely, and never in the
// place of anything but a regular file.

#include <cstddef>
#include <string>

/// Writes to a temporary file beside the target and renames it over the target on Commit, so the
/// target either keeps its old contents or holds everything that was written. Names are the
/// system's bytes, taken as they are. Every write is checked: the first failure is kept (Error
/// says why, in the system's words) and every later call does nothing. A file that is destroyed,
/// discarded or left open when the program exits (std::exit included) leaves no temporary file.
/// A target that is a symbolic link is replaced through the link, as the picture saver does.
///
/// Only a regular file (or nothing) is ever replaced: a target that is a folder, a FIFO, a
/// device or a socket is refused by Open, and again just before the rename, with Error naming
/// what it is; the node itself is left as it was.
///
/// Several files can take their names together: Finish each (everything written, nothing
/// renamed), then Publish each; should one fail, Undo the ones published before it, which puts
/// their earlier files back. Settle lets the earlier files go once all stand.
class TAtomicFile {
 public:
  TAtomicFile() = default;
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  /// Creates the temporary file for Path; false, with Error set, when it cannot be created or
  /// Path names anything but a regular file.
  bool Open(const std::string& Path);
  /// Buffers Size bytes; false once any write has failed.
  bool Write(const char* Data, size_t Size);
  bool Write(const std::string& Text) { return Write(Text.data(), Text.size()); }
  /// Hands everything buffered to the system, so a full disk shows now rather than at the end.
  bool Flush();
  /// Flushes and closes the temporary file: everything is on disk, nothing has its name yet.
  /// On failure the temporary file is removed.
  bool Finish();
  /// Renames the finished file over the target. An earlier file of that name is kept aside
  /// (under the temporary name) until Settle or Undo. On failure nothing has changed.
  bool Publish();
  /// After Publish: the target is as it was before (the earlier file back, or no file).
  /// False, with Error set, where that could not be done.
  bool Undo();
  /// After Publish: the earlier file is let go.
  void Settle();
  /// Finish, Publish and Settle; on failure the temporary file is removed.
  bool Commit();
  /// Removes the temporary file; the target stays as it was. After Publish, the same as Settle.
  void Discard();

  bool IsOpen() const { return Fd >= 0; }
  bool Failed() const { return !Reason.empty(); }
  /// Why the first failure happened ("No space left on device"); empty while all is well.
  const std::string& Error() const { return Reason; }
  /// The name the file takes, links resolved.
  const std::string& Path() const { return Target; }

 private:
  bool Fail(int Errno);
  bool Refuse(const std::string& Why);

  enum class TStage { Closed, Writing, Finished, Published };
  int Fd = -1;
  TStage Stage = TStage::Closed;
  bool KeptAside = false;  ///< Publish swapped: the earlier file waits under the temporary name
  std::string Target;
  std::string Temporary;
  std::string Buffer;
  std::string Reason;
};

/// Why Path cannot be replaced by a file ("it is a FIFO, not a regular file"), or an empty
/// string when it names a regular file, a link to one, or nothing at all.
std::string NotARegularFile(const std::string& Path);

/// Swaps what the names A and B stand for (both must exist), at once where the file system can;
/// false, with errno set, when it could not.
bool SwapNames(const std::string& A, const std::string& B);
