// Fuzz target for the circuit reader: any bytes under a circuit's name must give either a picture
// that the track can use or a message, never a crash, a leak or undefined behaviour. The same
// function replays the committed corpus on every test run (CorpusReplay.cpp).

#include <sys/mman.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "io/UCircuitFile.h"

namespace {

[[noreturn]] void Broken(const char* What) {
  std::fprintf(stderr, "circuit reader: %s\n", What);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // One file in memory, rewritten for every input: the reader takes a name, not bytes.
  static const int Fd = memfd_create("circuit.bmp", MFD_CLOEXEC);
  static const QByteArray Name = QByteArray("/proc/self/fd/") + QByteArray::number(Fd);
  if (Fd < 0 || ftruncate(Fd, 0) != 0 ||
      (Size > 0 && pwrite(Fd, Data, Size, 0) != static_cast<ssize_t>(Size)))
    Broken("cannot prepare the input file");

  const TCircuitPicture R = ReadCircuitPictureNative(Name);
  if (R.Ok()) {
    if (R.Picture.isNull() || R.Picture.format() != QImage::Format_RGB32)
      Broken("accepted without an RGB32 picture");
    if (R.Picture.width() > MaxCircuitSide || R.Picture.height() > MaxCircuitSide ||
        int64_t{R.Picture.width()} * R.Picture.height() > MaxCircuitPixels)
      Broken("accepted a picture above the limits");
  } else if (!R.Picture.isNull() || !R.Error.startsWith("Cannot load the circuit")) {
    Broken("refused without a clean message");
  }
  return 0;
}
