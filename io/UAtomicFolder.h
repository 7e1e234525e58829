#pragma once
// A folder whose files appear together, never mixed with those of an earlier folder of that name.

#include <functional>
#include <string>
#include <vector>

/// The files are written into a temporary folder beside the target (Where), which takes the
/// target's name once all are written. An earlier folder of that name is swapped aside and
/// removed by Settle, or put back by Undo; it may hold only the names MayReplace accepts, so that
/// nothing else in it is ever lost. Missing folders above the target are made by Open and removed
/// again by Discard. Names are the system's bytes; a target that is a symbolic link to a folder is
/// replaced through the link. A folder discarded, destroyed or left when the program exits
/// (std::exit included) leaves no temporary folder. Files only: Where gets no subfolders.
class TAtomicFolder {
 public:
  using TAccepts = std::function<bool(const std::string& Leaf)>;

  TAtomicFolder() = default;
  ~TAtomicFolder();
  TAtomicFolder(const TAtomicFolder&) = delete;
  TAtomicFolder& operator=(const TAtomicFolder&) = delete;

  /// Checks the target and makes the temporary folder; false, with Error set, when the target
  /// is not a folder, holds a name MayReplace refuses, or the folder cannot be made.
  bool Open(const std::string& Path, TAccepts MayReplace);
  /// The temporary folder to write the files in, ending in '/'.
  const std::string& Where() const { return Temporary; }
  /// Renames the temporary folder over the target, keeping an earlier folder aside. On failure
  /// nothing has changed.
  bool Publish();
  /// After Publish: the earlier folder back under its name (or none), the new one removed.
  bool Undo();
  /// After Publish: the earlier folder and its files are removed.
  void Settle();
  /// Removes the temporary folder with its files, and the folders Open made.
  void Discard();

  const std::string& Error() const { return Reason; }
  /// The folder's name, links resolved.
  const std::string& Path() const { return Target; }

 private:
  bool Fail(int Errno);
  bool Refuse(const std::string& Why);

  enum class TStage { Closed, Open, Published };
  TStage Stage = TStage::Closed;
  bool KeptAside = false;  ///< the earlier folder waits under the temporary name
  std::string Target;
  std::string Temporary;          ///< ends in '/'
  std::vector<std::string> Made;  ///< folders made above the target, outermost first
  TAccepts Accepts;
  std::string Reason;
};
