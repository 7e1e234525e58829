// Replays every file of the given folders through a reader's fuzz target, so inputs that once
// went wrong keep being checked under the sanitizers.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int Argc, char** Argv) {
  int Files = 0;
  for (int I = 1; I < Argc; ++I) {
    const QDir Folder(QFile::decodeName(Argv[I]));
    for (const QString& Name : Folder.entryList(QDir::Files, QDir::Name)) {
      QFile File(Folder.filePath(Name));
      if (!File.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(File.fileName()));
        return 1;
      }
      const QByteArray Bytes = File.readAll();
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.constData()),
                             static_cast<size_t>(Bytes.size()));
      ++Files;
    }
  }
  std::printf("%d files replayed\n", Files);
  return Files > 0 ? 0 : 1;
}
