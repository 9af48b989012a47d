#include <gtest/gtest.h>

#include "extras/ReleaseExtras.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"
#include "support/TestSupport.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <initializer_list>

namespace {

QStringList Names(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* name : names)
    list << QString::fromUtf8(name);
  return list;
}

QByteArray Utf16Log(const QStringList& lines) {
  return TextFile::Encode(lines, TextFile::Form::Unicode, CodePage::System());
}

TEST(ReleaseExtrasTest, FindsEachKindByNameAndContentWhateverTheCase) {
  TempFolder folder;
  // Rip logs in the forms their rippers write, and .log files that are no rip log.
  folder.Write(QStringLiteral("Album.LOG"),
               Utf16Log({QStringLiteral("Exact Audio Copy V1.6 from 23. October 2020"), QString(),
                         QStringLiteral("EAC extraction logfile from 7. March 2021, 19:48")}));
  folder.Write(QStringLiteral("xld.log"),
               "\xEF\xBB\xBFX Lossless Decoder version 20230916 (153.8)\n\nXLD extraction "
               "logfile from 2024-01-02 10:11:12 +0100\n");
  folder.Write(QStringLiteral("b-whipper.log"),
               "Log created by: whipper 0.10.0 (internal logger)\nLog creation date: x\n");
  folder.Write(QStringLiteral("cueripper.log"),
               "CUERipper v2.1.6 Copyright (C) 2008-13 Grigory Chudov\r\n");
  folder.Write(QStringLiteral("cyan.log"), "cyanrip 0.9.3.1 (v0.9.3.1)\nSystem device: x\n");
  folder.Write(QStringLiteral("dbpa.log"),
               "dBpoweramp Release 16.6 Digital Audio Extraction Log from Montag\n");
  // An old EAC log begins with its header line, written in the code page: "Ä" is one byte.
  folder.Write(QStringLiteral("old.log"),
               "EAC extraction logfile from 20. June 2007, 18:00 for CD\r\n\xC4rzte / Album\r\n");
  folder.Write(QStringLiteral("encoder.log"), "flac 1.4.2\nencoding 01.wav\n");
  folder.Write(QStringLiteral("late.log"),
               QByteArray(8000, 'x') + "\nExact Audio Copy V1.6 from 23. October 2020\n");
  folder.Write(QStringLiteral("Disc.CUE"), "FILE \"a.flac\" WAVE\n");
  folder.Write(QStringLiteral("album.cue"), "FILE \"a.flac\" WAVE\n");
  folder.Write(QStringLiteral("album.vol00+01.PAR2"), "PAR2");
  folder.Write(QStringLiteral("album.par2"), "PAR2");
  folder.Write(QStringLiteral("album.SFV"), "a.flac 00000000\n");
  folder.Write(QStringLiteral("album.md5"), "");
  folder.Write(QStringLiteral("album.nfo"), "nfo");
  // Covers: the first in name order wins a role; other pictures and extensions are no cover.
  folder.Write(QStringLiteral("Folder.JPG"), "jpeg");
  folder.Write(QStringLiteral("cover.png"), "png");
  folder.Write(QStringLiteral("front.gif"), "gif");
  folder.Write(QStringLiteral("BACK.jpeg"), "jpeg");
  folder.Write(QStringLiteral("booklet.jpg"), "jpeg");
  folder.Write(QStringLiteral("cdart.png"), "png");
  folder.Write(QStringLiteral("CD.jpg"), "jpeg");
  folder.Write(QStringLiteral("01.flac"), "fLaC");
  // Not regular files: a folder and a FIFO named like extras.
  ASSERT_TRUE(QDir(folder.Path()).mkdir(QStringLiteral("scans.nfo")));
  ASSERT_EQ(
      mkfifo(QFile::encodeName(folder.FilePath(QStringLiteral("pipe.log"))).constData(), 0600), 0);

  const ReleaseExtras extras = FindExtras(folder.Path());
  EXPECT_EQ(extras.Logs, Names({"Album.LOG", "b-whipper.log", "cueripper.log", "cyan.log",
                                "dbpa.log", "old.log", "xld.log"}));
  EXPECT_EQ(extras.Cues, Names({"album.cue", "Disc.CUE"}));
  EXPECT_EQ(extras.Par2, Names({"album.par2", "album.vol00+01.PAR2"}));
  EXPECT_EQ(extras.Lists, Names({"album.md5", "album.SFV"}));
  EXPECT_EQ(extras.Nfos, Names({"album.nfo"}));
  EXPECT_EQ(extras.Covers.Front, QStringLiteral("cover.png"));
  EXPECT_EQ(extras.Covers.Back, QStringLiteral("BACK.jpeg"));
  EXPECT_EQ(extras.Covers.Cd, QStringLiteral("CD.jpg"));  // "cd." sorts before "cdart."

  const ReleaseExtras none = FindExtras(folder.FilePath(QStringLiteral("no such folder")));
  EXPECT_TRUE(none.Logs.isEmpty() && none.Cues.isEmpty() && none.Covers.Front.isEmpty());
}

}  // namespace
