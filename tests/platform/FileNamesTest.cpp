#include <gtest/gtest.h>

#include "platform/FileNames.h"
#include "support/TestSupport.h"

TEST(FileNamesTest, EightBitNamesTakeOnlyTheNameThroughTheCodePage) {
  EXPECT_EQ(EightBitFileName(QStringLiteral("/m/Łódź 日.sfv"), CodePage(1250)),
            QStringLiteral("/m/Łódź ?.sfv"));
  EXPECT_EQ(EightBitFileName(QStringLiteral("/m/Łódź.sfv"), CodePage(1252)),
            QStringLiteral("/m/?ód?.sfv"));
  // The folder exists under its real name: turning it into "?" would point at no folder at all.
  EXPECT_EQ(EightBitFileName(QStringLiteral("/home/ana/音楽/album/00. A - B.nfo"), CodePage(1252)),
            QStringLiteral("/home/ana/音楽/album/00. A - B.nfo"));
  EXPECT_EQ(EightBitFileName(QStringLiteral("/音楽/Live: 日\\x.m3u"), CodePage(1252)),
            QStringLiteral("/音楽/Live: ?\\x.m3u"));
  EXPECT_EQ(EightBitFileName(QStringLiteral("日.nfo"), CodePage(1252)), QStringLiteral("?.nfo"));
}

TEST(FileNamesTest, NamesAndFoldersAreCutAtTheLastSeparator) {
  EXPECT_EQ(FileNameOf(QStringLiteral("/music/a/01. x.mp3")), QStringLiteral("01. x.mp3"));
  EXPECT_EQ(FileNameOf(QStringLiteral("C:track.mp3")), QStringLiteral("track.mp3"));
  EXPECT_EQ(FolderOf(QStringLiteral("/music/a/01. x.mp3")), QStringLiteral("/music/a/"));
  EXPECT_EQ(FolderOf(QStringLiteral("01. x.mp3")), QString());
}
