// Saving frames: the numbered names, 24-bit pictures that read back exactly, and writes that
// either complete under the frame's name or leave the folder as it was.
//
// The tests run as root, which no folder permission stops; refused writes are provoked with a
// missing folder, a "folder" that is a file, a folder squatting on the frame's name and a
// file-size limit that cuts the write short.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "decision/UBase.h"
#include "io/UCircuitFile.h"
#include "io/UFrameFile.h"

namespace {

TEST(FrameFileName, AppendsTheNumberAtLeastFourDigitsToTheBaseAsGiven) {
  EXPECT_EQ(FrameFileName("/out/lap", 1), "/out/lap_0001.bmp");
  EXPECT_EQ(FrameFileName("/out/lap", 3), "/out/lap_0003.bmp");
  EXPECT_EQ(FrameFileName("lap", 123), "lap_0123.bmp");
  EXPECT_EQ(FrameFileName("lap", 9999), "lap_9999.bmp");
  EXPECT_EQ(FrameFileName("lap", 10000), "lap_10000.bmp");
  EXPECT_EQ(FrameFileName("lap", 12345), "lap_12345.bmp");
  // A typed extension stays part of the base.
  EXPECT_EQ(FrameFileName("/out/lap.bmp", 1), "/out/lap.bmp_0001.bmp");
}

/// A picture whose every pixel differs from its neighbours, so misplaced rows show.
QImage Pattern(int Width, int Height, QImage::Format Format = QImage::Format_RGB32) {
  QImage Image(Width, Height, QImage::Format_RGB32);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) Image.setPixel(X, Y, qRgb(X % 256, Y % 256, (X * Y) % 256));
  return Format == QImage::Format_RGB32 ? Image : Image.convertToFormat(Format);
}

int BitsPerPixel(const QString& Path) {
  QFile F(Path);
  if (!F.open(QIODevice::ReadOnly)) return -1;
  const QByteArray Head = F.read(30);
  return Head.size() < 30 ? -1 : uchar(Head[28]) | (uchar(Head[29]) << 8);
}

class FrameFileTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;

  QStringList Entries() const {
    return QDir(Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  /// SaveFrame must fail with a message naming the file, and leave the folder as it was.
  void ExpectRefused(const QImage& Picture, const QString& FileName, const QString& Reason) {
    const QStringList Before = Entries();
    try {
      SaveFrame(Picture, FileName);
      ADD_FAILURE() << "no error raised for " << FileName.toStdString();
    } catch (const EModelError& E) {
      const QString Message = QString::fromStdString(E.what());
      EXPECT_TRUE(Message.startsWith("Cannot save the frame \"" + FileName + "\": ")) << E.what();
      EXPECT_TRUE(Message.contains(Reason)) << E.what();
    }
    EXPECT_EQ(Entries(), Before);
  }
};

TEST_F(FrameFileTest, WritesPicturesAt24BitsThatReadBackExactly) {
  // The default circuit's size, an odd width that needs row padding, and pictures held in
  // other formats: all come out at 24 bits with the same colours.
  const struct {
    const char* Name;
    QImage Picture;
    qint64 FileSize;  ///< 54 header bytes, then rows padded to 4 bytes
  } Cases[] = {
      {"800 x 600", Pattern(800, 600), 1440054},
      {"odd width", Pattern(3, 2), 54 + 2 * 12},
      {"with alpha", Pattern(5, 4, QImage::Format_ARGB32), 54 + 4 * 16},
      {"indexed", Pattern(5, 4).convertToFormat(QImage::Format_Indexed8), 54 + 4 * 16},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const QString Path = FrameFileName(Dir.filePath("lap"), 1);
    SaveFrame(C.Picture, Path);
    EXPECT_EQ(BitsPerPixel(Path), 24);
    EXPECT_EQ(QFileInfo(Path).size(), C.FileSize);
    const TCircuitPicture Back = ReadCircuitPicture(Path);
    ASSERT_TRUE(Back.Ok()) << Back.Error.toStdString();
    EXPECT_EQ(Back.Picture, C.Picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(Entries(), QStringList{"lap_0001.bmp"});
  }
}

TEST_F(FrameFileTest, ReplacesAnEarlierFrameOfTheSameName) {
  const QString Path = FrameFileName(Dir.filePath("lap"), 1);
  SaveFrame(Pattern(8, 8), Path);
  QImage Second = Pattern(8, 8);
  Second.fill(qRgb(255, 206, 61));
  SaveFrame(Second, Path);
  EXPECT_EQ(ReadCircuitPicture(Path).Picture, Second);
  EXPECT_EQ(Entries(), QStringList{"lap_0001.bmp"});
}

TEST_F(FrameFileTest, RefusedWritesNameTheFileAndLeaveNothingBehind) {
  const QImage Picture = Pattern(16, 16);
  ExpectRefused(Picture, Dir.filePath("missing/lap_0001.bmp"),
                "the folder \"" + Dir.filePath("missing") + "\" does not exist");

  QFile Plain(Dir.filePath("plain"));
  ASSERT_TRUE(Plain.open(QIODevice::WriteOnly));
  Plain.close();
  ExpectRefused(Picture, Dir.filePath("plain/lap_0001.bmp"),
                "\"" + Dir.filePath("plain") + "\" is not a folder");

  ASSERT_TRUE(QDir(Dir.path()).mkdir("lap_0002.bmp"));
  ExpectRefused(Picture, Dir.filePath("lap_0002.bmp"), "a folder of that name is in the way");

  ExpectRefused(QImage(), Dir.filePath("lap_0003.bmp"), "there is no picture to save");
}

TEST_F(FrameFileTest, AWriteCutShortKeepsTheEarlierFrameWhole) {
  // The file-size limit makes the write fail part-way, as a full disk would.
  const QString Path = FrameFileName(Dir.filePath("lap"), 7);
  const QImage Earlier = Pattern(20, 20);
  SaveFrame(Earlier, Path);
  const QByteArray EarlierBytes = [&] {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
  }();

  rlimit Saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Saved), 0);
  const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit Small = Saved;
  Small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
  ExpectRefused(Pattern(800, 600), Path, "File too large");
  setrlimit(RLIMIT_FSIZE, &Saved);
  std::signal(SIGXFSZ, OldHandler);

  QFile F(Path);
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  EXPECT_TRUE(F.readAll() == EarlierBytes) << "the earlier frame was changed";
}

}  // namespace
