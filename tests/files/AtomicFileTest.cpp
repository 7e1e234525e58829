// Files written whole or not at all, and never in the place of anything but a regular file:
// special nodes keep their kind, a set of files published together can be taken back, and a
// folder replaced as a whole keeps nothing that is not its own.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "io/UAtomicFile.h"
#include "io/UAtomicFolder.h"

namespace {

QByteArray Read(const QString& Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

void Put(const QString& Path, const QByteArray& Bytes) {
  QFile F(Path);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.write(Bytes);
}

std::string Native(const QString& Path) { return QFile::encodeName(Path).toStdString(); }

mode_t KindOf(const QString& Path) {
  struct stat Info {};
  return lstat(Native(Path).c_str(), &Info) == 0 ? (Info.st_mode & S_IFMT) : 0;
}

TEST(AtomicFile, NeverReplacesAFolderAFifoOrADevice) {
  QTemporaryDir Dir;
  const QString Fifo = Dir.filePath("fifo"), Folder = Dir.filePath("folder"),
                Device = Dir.filePath("null"), Link = Dir.filePath("link");
  ASSERT_EQ(mkfifo(Native(Fifo).c_str(), 0600), 0);
  ASSERT_TRUE(QDir(Dir.path()).mkdir("folder"));
  ASSERT_EQ(symlink("fifo", Native(Link).c_str()), 0);
  QStringList Targets{Fifo, Folder, Link};
  // Our own null device, where the test may make one (root).
  if (mknod(Native(Device).c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) Targets << Device;
  for (const QString& Target : Targets) {
    SCOPED_TRACE(Target.toStdString());
    const mode_t Before = KindOf(Target);
    TAtomicFile File;
    EXPECT_FALSE(File.Open(Native(Target)));
    EXPECT_NE(File.Error().find("not a regular file"), std::string::npos) << File.Error();
    EXPECT_EQ(KindOf(Target), Before);
  }
  // Nothing else was made.
  EXPECT_EQ(QDir(Dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System)
                .size(),
            Targets.size());
}

TEST(AtomicFile, FilesPublishedTogetherAreTakenBackByUndo) {
  QTemporaryDir Dir;
  const QString Earlier = Dir.filePath("earlier.csv"), New = Dir.filePath("new.csv");
  Put(Earlier, "earlier");
  TAtomicFile A, B;
  ASSERT_TRUE(A.Open(Native(Earlier)) && A.Write("replaced") && A.Finish());
  ASSERT_TRUE(B.Open(Native(New)) && B.Write("made") && B.Finish());
  ASSERT_TRUE(A.Publish() && B.Publish());
  EXPECT_EQ(Read(Earlier), "replaced");
  EXPECT_EQ(Read(New), "made");
  // Something later failed: both go back to what they were.
  EXPECT_TRUE(B.Undo());
  EXPECT_TRUE(A.Undo());
  EXPECT_EQ(Read(Earlier), "earlier");
  EXPECT_EQ(Read(New), "<missing>");
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"earlier.csv"});
}

TEST(AtomicFolder, ReplacesAnEarlierFolderWholeOrNotAtAll) {
  QTemporaryDir Dir;
  const QString Report = Dir.filePath("deeper/report");
  const auto Ours = [](const std::string& Leaf) { return Leaf.rfind("part", 0) == 0; };
  {
    // Made with the folders above it; the temporary folder takes the name whole.
    TAtomicFolder Folder;
    ASSERT_TRUE(Folder.Open(Native(Report), Ours)) << Folder.Error();
    Put(QFile::decodeName(QByteArray::fromStdString(Folder.Where() + "part1")), "first");
    Put(QFile::decodeName(QByteArray::fromStdString(Folder.Where() + "part2")), "first");
    ASSERT_TRUE(Folder.Publish());
    Folder.Settle();
  }
  {
    // A rerun with fewer files: nothing of the earlier one stays beside them; Undo puts it back.
    TAtomicFolder Folder;
    ASSERT_TRUE(Folder.Open(Native(Report), Ours)) << Folder.Error();
    Put(QFile::decodeName(QByteArray::fromStdString(Folder.Where() + "part1")), "second");
    ASSERT_TRUE(Folder.Publish());
    EXPECT_EQ(QDir(Report).entryList(QDir::Files), QStringList{"part1"});
    ASSERT_TRUE(Folder.Undo());
    EXPECT_EQ(QDir(Report).entryList(QDir::Files), (QStringList{"part1", "part2"}));
    EXPECT_EQ(Read(Report + "/part1"), "first");
  }
  // A folder holding anything else is refused, and left as it was.
  Put(Report + "/notes.txt", "mine");
  TAtomicFolder Folder;
  EXPECT_FALSE(Folder.Open(Native(Report), Ours));
  EXPECT_NE(Folder.Error().find("notes.txt"), std::string::npos) << Folder.Error();
  EXPECT_EQ(QDir(Dir.filePath("deeper"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"report"});
}

}  // namespace
