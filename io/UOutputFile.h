#pragma once
// An output that is a file, or a stream: a FIFO, a character device or standard output.

#include <functional>
#include <string>

#include "io/UAtomicFile.h"

/// A name that leads to a regular file, or to nothing, is written atomically (TAtomicFile): it
/// takes its name only when Publish is called. A FIFO, a character device (a terminal, a null
/// device) or standard output ("-") is written directly, every write checked; it is never
/// replaced, and what was written cannot be taken back. Anything else (a folder, a block device, a
/// socket) is refused by Open. The calls follow TAtomicFile's: Open, Write, Flush, Finish,
/// Publish, then Settle or Undo; on a stream Finish flushes, Undo can only say true (what was
/// written stays written) and the others do nothing.
class TOutputFile {
 public:
  TOutputFile() = default;
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  /// Opens Path ("-": standard output). A FIFO with no reader yet calls Waiting (when set) and
  /// waits for one. False, with Error set, on refusal.
  bool Open(const std::string& Path, const std::function<void()>& Waiting = {});
  bool Write(const char* Data, size_t Size);
  bool Write(const std::string& Text) { return Write(Text.data(), Text.size()); }
  bool Flush();
  bool Finish();
  bool Publish();
  bool Undo();
  void Settle();
  void Discard();

  bool IsOpen() const { return Atomic.IsOpen() || Stream >= 0; }
  /// Written directly: a FIFO, a character device or standard output.
  bool IsStream() const { return Stream >= 0; }
  bool Failed() const { return !Reason.empty() || Atomic.Failed(); }
  const std::string& Error() const { return Reason.empty() ? Atomic.Error() : Reason; }

 private:
  bool Fail(int Errno);
  void CloseStream();

  TAtomicFile Atomic;
  int Stream = -1;
  bool OwnsStream = false;
  std::string Buffer;
  std::string Reason;
};
