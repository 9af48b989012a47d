#include <gtest/gtest.h>

#include <QFile>

#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "support/TestSupport.h"

TEST(FileStreamTest, ReadsByUnicodePathWithShortReadsAtTheEnd) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("Zażółć 日本.mp3"), QByteArray("0123456789"));
  FileStream stream(path);
  EXPECT_EQ(stream.Size(), 10);
  char buffer[8] = {};
  stream.Seek(6);
  EXPECT_EQ(stream.Read(buffer, 8), 4);
  EXPECT_EQ(QByteArray(buffer, 4), QByteArray("6789"));
  EXPECT_EQ(stream.Position(), 10);
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  stream.Seek(-4, SeekOrigin::Current);
  EXPECT_EQ(stream.Read(buffer, 2), 2);
  EXPECT_EQ(QByteArray(buffer, 2), QByteArray("67"));
  EXPECT_THROW(stream.Seek(-100, SeekOrigin::Current), FileError);
}

TEST(FileStreamTest, MissingFileThrowsCannotOpenWithAbsolutePath) {
  TempFolder folder;
  const QString path = folder.FilePath(QStringLiteral("missing.flac"));
  try {
    FileStream stream(path);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Cannot open file ") + path);
  }
  FileHandle handle(path);
  EXPECT_FALSE(handle.IsValid());
  EXPECT_EQ(handle.Size(), -1);
}

TEST(FileStreamTest, FoldersAreNotFiles) {
  TempFolder folder;
  EXPECT_FALSE(FileHandle(folder.Path()).IsValid());
  EXPECT_THROW(FileStream{folder.Path()}, FileError);
}

TEST(FileStreamTest, SeveralReadersMayShareAFile) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("a.mp3"), QByteArray("abc"));
  FileHandle first(path);
  FileHandle second(path);
  FileStream third(path);
  EXPECT_TRUE(first.IsValid());
  EXPECT_TRUE(second.IsValid());
  char byte = 0;
  EXPECT_EQ(second.ReadAt(2, &byte, 1), 1);
  EXPECT_EQ(byte, 'c');
}

TEST(FileStreamTest, FileHeldOpenForWritingIsRefused) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("busy.flac"), QByteArray("fLaC"));
  {
    QFile writer(path);
    ASSERT_TRUE(writer.open(QIODevice::ReadWrite));
    EXPECT_FALSE(FileHandle(path).IsValid());
    EXPECT_THROW(FileStream{path}, FileError);
  }
  EXPECT_TRUE(FileHandle(path).IsValid());
}
