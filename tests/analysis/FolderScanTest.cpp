#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <map>

#include "analysis/FolderScan.h"
#include "model/Messages.h"
#include "platform/FileNames.h"
#include "support/TestSupport.h"

namespace {

const UserLocale kEnglish{QLocale(QLocale::English, QLocale::UnitedStates)};

void Touch(const TempFolder& folder, std::initializer_list<const char*> names) {
  for (const char* name : names)
    folder.Write(QString::fromUtf8(name), QByteArray("x"));
}

QStringList Names(const QStringList& paths) {
  QStringList names;
  for (const QString& path : paths)
    names.append(FileNameOf(path));
  return names;
}

}  // namespace

TEST(FolderScanTest, TieBetweenFormatsGoesToTheLaterFormat) {
  TempFolder folder;
  Touch(folder, {"1.mp3", "2.mp3", "3.mp3", "1.flac", "2.flac", "3.flac"});
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  EXPECT_EQ(scan.FormatCounts, (std::array<int, kFormatCount>{3, 0, 0, 3}));
  EXPECT_EQ(scan.FormatsPresent, 2);
  EXPECT_TRUE(scan.MixedFormats());
  EXPECT_EQ(scan.DominantFormat, AudioFormat::Flac);
  EXPECT_EQ(scan.DominantExtension, QStringLiteral("flac"));
  EXPECT_EQ(Names(scan.TrackList), (QStringList{QStringLiteral("1.flac"), QStringLiteral("2.flac"),
                                                QStringLiteral("3.flac")}));
  EXPECT_TRUE(scan.AnalysisEnabled());
}

TEST(FolderScanTest, MajorityWinsAndOtherFormatsAreNotListed) {
  TempFolder folder;
  Touch(folder, {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "x.ape", "notes.txt"});
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  EXPECT_EQ(scan.DominantExtension, QStringLiteral("mp3"));
  EXPECT_TRUE(scan.MixedFormats());
  EXPECT_EQ(scan.TrackList.size(), 5);
  EXPECT_EQ(scan.FormatCounts[2], 1);
}

TEST(FolderScanTest, SingleFormatIsNotMixed) {
  TempFolder folder;
  Touch(folder, {"a.mp3", "b.mp3"});
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  EXPECT_FALSE(scan.MixedFormats());
  EXPECT_EQ(scan.FormatsPresent, 1);
}

TEST(FolderScanTest, EmptyOrUnreadableFolderEndsWithFlacAndNothingToAnalyse) {
  TempFolder folder;
  Touch(folder, {"readme.txt"});
  for (const QString& path : {folder.Path(), folder.FilePath(QStringLiteral("missing")),
                              folder.FilePath(QStringLiteral("readme.txt"))}) {
    ScanState scan;
    ScanFolder(scan, path, kEnglish);
    EXPECT_EQ(scan.DominantFormat, AudioFormat::Flac);
    EXPECT_EQ(scan.DominantExtension, QStringLiteral("flac"));
    EXPECT_TRUE(scan.TrackList.isEmpty());
    EXPECT_FALSE(scan.MixedFormats());
    EXPECT_FALSE(scan.AnalysisEnabled());
    EXPECT_EQ(scan.FolderPath, path);
  }
}

TEST(FolderScanTest, SubFoldersAreNotSearchedButHiddenFilesAndCapitalExtensionsAre) {
  TempFolder folder;
  Touch(folder, {".hidden.mp3", "LOUD.MP3", "sub/deep.mp3", "RECYCLED/old.mp3"});
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  EXPECT_EQ(Names(scan.TrackList),
            (QStringList{QStringLiteral(".hidden.mp3"), QStringLiteral("LOUD.MP3")}));
}

TEST(FolderScanTest, ScanListsWhatTheFormatMasksFind) {
  TempFolder folder;
  Touch(folder, {".mp3", "a.Mp3", "a.mp3.bak", "a.mp3x", "amp3", "b.FLAC", "c.ape", "d.mpc",
                 "e.flac.mpc", "f.ap", "sub.mp3/inner.flac"});
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  for (const FormatInfo& info : AudioFormats()) {
    const AudioFormat format = info.Id;
    QStringList found;
    FindFiles(folder.Path(), QStringLiteral("*.") + FormatKey(format), false, found);
    SortIntoTrackOrder(found, kEnglish);
    EXPECT_EQ(scan.FormatCounts[FormatIndex(format)], found.size()) << FormatIndex(format);
    if (format == scan.DominantFormat) {
      EXPECT_EQ(scan.TrackList, found);
    }
  }
  EXPECT_EQ(scan.FormatCounts, (std::array<int, kFormatCount>{2, 2, 1, 1}));
}

TEST(FolderScanTest, RecursiveFindSkipsDotAndRecycledFolders) {
  TempFolder folder;
  Touch(folder, {"a.mp3", "sub/b.mp3", "sub/inner/c.mp3", ".git/d.mp3", "Recycled/e.mp3"});
  QStringList found;
  FindFiles(folder.Path(), QStringLiteral("*.mp3"), true, found);
  found.sort();
  EXPECT_EQ(Names(found), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"),
                                       QStringLiteral("c.mp3")}));
}

TEST(FolderScanTest, TrackOrderFollowsCollationWithoutRegardToCase) {
  TempFolder folder;
  Touch(folder, {"c.mp3", "b.mp3", "A.mp3"});
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  EXPECT_EQ(Names(scan.TrackList), (QStringList{QStringLiteral("A.mp3"), QStringLiteral("b.mp3"),
                                                QStringLiteral("c.mp3")}));
}

TEST(FolderScanTest, TrailingSeparatorGivesExactlyOneSeparator) {
  TempFolder folder;
  Touch(folder, {"a.mp3"});
  ScanState without;
  ScanState with;
  ScanFolder(without, folder.Path(), kEnglish);
  ScanFolder(with, folder.Path() + QLatin1Char('/'), kEnglish);
  EXPECT_EQ(without.TrackList, with.TrackList);
  EXPECT_EQ(without.TrackList.value(0), folder.Path() + QStringLiteral("/a.mp3"));
  EXPECT_EQ(FolderOf(without.TrackList.value(0)), folder.Path() + QLatin1Char('/'));
}

TEST(FolderScanTest, MoreThanAThousandFilesAreAllListed) {
  TempFolder folder;
  for (int i = 0; i < 1005; ++i) {
    folder.Write(QStringLiteral("%1.mpc").arg(i, 4, 10, QLatin1Char('0')), QByteArray());
  }
  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  ASSERT_EQ(scan.TrackList.size(), 1005);
  EXPECT_EQ(FileNameOf(scan.TrackList.last()), QStringLiteral("1004.mpc"));
}

TEST(FolderScanTest, NewRowHasBlankColumnsAndEmptySeconds) {
  const TrackRecord row = TrackRecord::NewRow(QStringLiteral("/music/album/01 Intro.mp3"));
  EXPECT_EQ(row.FileName, QStringLiteral("01 Intro.mp3"));
  for (const QString* text : {&row.Artist, &row.Title, &row.Album, &row.SizeText, &row.DurationText,
                              &row.BitrateText, &row.ChecksumText}) {
    EXPECT_EQ(*text, QStringLiteral(" "));
  }
  EXPECT_TRUE(row.DurationSecondsText.isEmpty());
}

TEST(FolderScanTest, MessageTableIsEmptyUntilSet) {
  MessageTable messages;
  messages.Set(Message::StatusNotSaved, QStringLiteral("NFO nie zapisany"));
  messages.Set(Message::MixedFormatsLastLine, QStringLiteral("last"));
  EXPECT_EQ(messages.Text(Message::StatusNotSaved), QStringLiteral("NFO nie zapisany"));
  EXPECT_EQ(messages.Text(Message::MixedFormatsLastLine), QStringLiteral("last"));
  EXPECT_TRUE(messages.Text(Message::StatusSaved).isEmpty());
}

// Nothing is left out in silence: audio of a format without a reader, a name that cannot be shown
// or listed faithfully, and entries that are no regular files are each reported with the reason,
// and none of them becomes a track.
TEST(FolderScanTest, WhatTheReleaseLeavesOutIsReportedWithTheReason) {
  TempFolder folder;
  Touch(folder, {"1.mp3", "cover.jpg", "bonus.wav", "notes.txt"});
  const QByteArray native = QFile::encodeName(folder.Path());
  const QByteArray badName = native + "/caf\xFF.mp3";
  ASSERT_EQ(::close(::open(badName.constData(), O_CREAT | O_WRONLY, 0644)), 0);
  ASSERT_EQ(::mkfifo(QFile::encodeName(folder.FilePath(QStringLiteral("pipe.mp3"))), 0644), 0);
  ASSERT_TRUE(QFile::link(folder.FilePath(QStringLiteral("gone.flac")),
                          folder.FilePath(QStringLiteral("broken.flac"))));
  ASSERT_TRUE(QDir(folder.Path()).mkdir(QStringLiteral("Scans.mp3")));

  ScanState scan;
  ScanFolder(scan, folder.Path(), kEnglish);
  EXPECT_EQ(Names(scan.TrackList), QStringList{QStringLiteral("1.mp3")});
  EXPECT_EQ(scan.FormatsPresent, 1);
  std::map<QString, LeftOutFile::Reason> leftOut;
  for (const LeftOutFile& file : scan.LeftOut)
    leftOut[file.Name] = file.Why;
  EXPECT_EQ(leftOut, (std::map<QString, LeftOutFile::Reason>{
                         {QStringLiteral("bonus.wav"), LeftOutFile::Reason::Format},
                         {QStringLiteral("caf\\xFF.mp3"), LeftOutFile::Reason::Name},
                         {QStringLiteral("pipe.mp3"), LeftOutFile::Reason::NotAFile},
                         {QStringLiteral("broken.flac"), LeftOutFile::Reason::NotAFile}}));
}
