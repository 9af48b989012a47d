#include <gtest/gtest.h>

#include "platform/FileError.h"
#include "platform/TextFile.h"
#include "support/TestSupport.h"

using TextFile::Form;

TEST(TextFileTest, ReadingDetectsTheByteOrderMark) {
  TempFolder folder;
  const CodePage cp(1250);
  const QStringList expected{QStringLiteral("Łódź"), QStringLiteral("żółw")};
  const QString utf16le =
      folder.Write(QStringLiteral("a.txt"),
                   Bytes{0xFF, 0xFE, 0x41, 0x01, 0xF3, 0x00, 0x64, 0x00, 0x7A, 0x01, 0x0D,
                         0x00, 0x0A, 0x00, 0x7C, 0x01, 0xF3, 0x00, 0x42, 0x01, 0x77, 0x00});
  const QString utf16be = folder.Write(
      QStringLiteral("b.txt"), Bytes{0xFE, 0xFF, 0x01, 0x41, 0x00, 0xF3, 0x00, 0x64, 0x01, 0x7A,
                                     0x00, 0x0A, 0x01, 0x7C, 0x00, 0xF3, 0x01, 0x42, 0x00, 0x77});
  const QString utf8 =
      folder.Write(QStringLiteral("c.txt"),
                   QByteArray("\xEF\xBB\xBF") + QStringLiteral("Łódź\nżółw\n").toUtf8());
  const QString eightBit =
      folder.Write(QStringLiteral("d.txt"), QByteArray("\xA3\xF3"
                                                       "d\x9F\r\xBF\xF3\xB3w"));
  for (const QString& path : {utf16le, utf16be, utf8, eightBit}) {
    QStringList lines;
    ASSERT_TRUE(TextFile::ReadLines(path, cp, lines)) << path.toStdString();
    EXPECT_EQ(lines, expected) << path.toStdString();
  }
  QStringList lines{QStringLiteral("stale")};
  EXPECT_FALSE(TextFile::ReadLines(folder.FilePath(QStringLiteral("none.txt")), cp, lines));
  EXPECT_TRUE(lines.isEmpty());
}

TEST(TextFileTest, UnicodeFormIsUtf16LeWithBomAndCrLfAfterEveryLine) {
  const QByteArray bytes =
      TextFile::Encode({QStringLiteral("a"), QStringLiteral("ł")}, Form::Unicode, CodePage(1250));
  EXPECT_EQ(bytes,
            QByteArray(Bytes{0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0, 0x42, 0x01, '\r', 0, '\n', 0}));
}

TEST(TextFileTest, EightBitFormHasNoBomAndReplacesUnmappableCharacters) {
  const QByteArray bytes =
      TextFile::Encode({QStringLiteral("ł日"), QString()}, Form::EightBit, CodePage(1250));
  EXPECT_EQ(bytes, QByteArray("\xB3?\r\n\r\n"));
}

TEST(TextFileTest, LineBreaksInsideALineNeverReachTheFileBare) {
  const QByteArray bytes =
      TextFile::Encode({QStringLiteral("one\ntwo\rthree\r\nfour")}, Form::EightBit, CodePage(1252));
  EXPECT_EQ(bytes, QByteArray("one\r\ntwo\r\nthree\r\nfour\r\n"));
}

TEST(TextFileTest, WritingReplacesTheFileAndFailureKeepsTheOldOne) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("out.nfo"), QByteArray("old"));
  TextFile::WriteLines(path, {QStringLiteral("new")}, Form::EightBit, CodePage(1252));
  EXPECT_EQ(folder.Read(QStringLiteral("out.nfo")), QByteArray("new\r\n"));

  const QString blocked = folder.FilePath(QStringLiteral("missing/out.nfo"));
  try {
    TextFile::WriteLines(blocked, {QStringLiteral("x")}, Form::EightBit, CodePage(1252));
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Cannot create file ") + blocked);
  }
  EXPECT_FALSE(
      TextFile::TryWriteLines(blocked, {QStringLiteral("x")}, Form::Unicode, CodePage(1252)));
}
