#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <mutex>

#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"
#include "analysis/ReleaseSummary.h"
#include "platform/FileAccessHook.h"
#include "platform/FileError.h"
#include "support/AudioFixtures.h"
#include "support/TestSupport.h"

using namespace fixtures;

namespace {

class TrackAnalysisTest : public ::testing::Test {
 protected:
  void Add(const char* name, const QByteArray& bytes) {
    folder_.Write(QString::fromUtf8(name), bytes);
  }

  void SetModified(const char* name, const QDateTime& when) {
    QFile file(folder_.FilePath(QString::fromUtf8(name)));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
  }

  Release& Analyse(bool checksums = false, const QString& kind = QStringLiteral("SFV")) {
    ScanFolder(model_.Scan, folder_.Path());
    AnalysisOptions options;
    options.Choices = {checksums, ParseChecksumKind(kind)};
    options.Today = QDate(2025, 1, 31);
    options.OnChecksum = [this](const ChecksumProgress& step) { progress_.append(step.Percent); };
    AnalyseTracks(model_, options);
    return model_;
  }

  const TrackRecord& Row(int i) const { return model_.Tracks.at(static_cast<size_t>(i)); }

  TempFolder folder_;
  Release model_;
  QList<int> progress_;
};

}  // namespace

TEST_F(TrackAnalysisTest, LaterTagsOverwriteEarlierOnesEvenWithEmptyValues) {
  Add("1.mp3", Id3v2Tag({{"TPE1", "B"}, {"TIT2", "Song"}}) + MpegFrames(128, 8) +
                   Id3v1Tag("Old", "A", "Alb", "1999"));
  Add("2.mp3", Id3v2Tag({{"TPE1", "B"}}) + MpegFrames(128, 8) + ApeTag({{"Title", "Ape title"}}));
  Analyse();
  EXPECT_EQ(Row(0).Artist, QStringLiteral("B"));
  EXPECT_EQ(Row(0).Title, QStringLiteral("Song"));
  EXPECT_EQ(Row(0).Album, QString());
  EXPECT_EQ(Row(1).Artist, QString());
  EXPECT_EQ(Row(1).Title, QStringLiteral("Ape title"));
  EXPECT_EQ(model_.Summary.Id3v1Text, QStringLiteral("-"));
  EXPECT_EQ(model_.Summary.Id3v2Text, QStringLiteral("2.3"));
  EXPECT_EQ(model_.Summary.ApeTagText, QStringLiteral("2,000"));
  EXPECT_EQ(model_.Summary.VorbisTagText, QStringLiteral("-"));
}

TEST_F(TrackAnalysisTest, CbrRowsAndSummaryOfThreeEqualTracks) {
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
    Add(name, MpegFrames(192, 20));
  Analyse();
  ASSERT_EQ(model_.Scan.TrackCount, 3);
  EXPECT_EQ(Row(0).BitrateText, QStringLiteral("CBR 192 kbit/s"));
  EXPECT_EQ(Row(0).DurationText, QStringLiteral("00:00"));
  EXPECT_EQ(Row(0).DurationSecondsText, QStringLiteral("1"));  // 0.52 s rounds to 1
  EXPECT_EQ(model_.Summary.AverageText, QStringLiteral("192"));
  EXPECT_EQ(model_.Summary.QualityText, QStringLiteral("CBR 192"));
  EXPECT_EQ(model_.Summary.VersionText, QStringLiteral("MPEG 1 Layer III"));
  EXPECT_EQ(model_.Summary.SampleRateText, QStringLiteral("44100 hz"));
  EXPECT_EQ(model_.Summary.ChannelsText, QStringLiteral("Stereo"));
  EXPECT_EQ(model_.Summary.TotalSizeText, QStringLiteral("0.04 MB"));  // 3 x 12520 bytes
}

TEST_F(TrackAnalysisTest, VbrAverageOfHalfRoundsToEven) {
  Add("1.mp3", MpegXingFrames(100, XingBytesFor(127, 100)));
  Add("2.mp3", MpegXingFrames(100, XingBytesFor(130, 100)));
  Analyse();
  EXPECT_EQ(Row(0).BitrateText, QStringLiteral("VBR 127 kbit/s"));
  EXPECT_EQ(Row(1).BitrateText, QStringLiteral("VBR 130 kbit/s"));
  EXPECT_EQ(model_.Summary.AverageText, QStringLiteral("128"));
  EXPECT_EQ(model_.Summary.QualityText, QStringLiteral("CBR 128"));
}

TEST_F(TrackAnalysisTest, UnreadableStreamKeepsBlanksButCountsAndLowersLaterAverages) {
  Add("1.mp3", QByteArray(5000, 'x'));
  Add("2.mp3", MpegFrames(192, 20));
  Analyse();
  EXPECT_EQ(model_.Scan.TrackCount, 2);
  EXPECT_EQ(Row(0).SizeText, QStringLiteral(" "));
  EXPECT_EQ(Row(0).DurationText, QStringLiteral(" "));
  EXPECT_EQ(Row(0).BitrateText, QStringLiteral(" "));
  EXPECT_TRUE(Row(0).DurationSecondsText.isEmpty());
  EXPECT_EQ(model_.Summary.AverageText, QStringLiteral("96"));
  // Both files count in the total size, read or not.
  EXPECT_EQ(model_.Summary.TotalSizeText,
            UserLocale::System().FormatFixed2(BytesToMiB(5000 + 20 * 626)) + QStringLiteral(" MB"));
}

TEST_F(TrackAnalysisTest, UnreadableLastTrackLeavesTheAverageOfTheFirst) {
  Add("1.mp3", MpegFrames(192, 20));
  Add("2.mp3", QByteArray());
  Analyse();
  EXPECT_EQ(model_.Summary.AverageText, QStringLiteral("192"));
}

TEST_F(TrackAnalysisTest, FlacRatiosAverageWithPercentAndVorbisCommentWinsWhenArtistIsSet) {
  Add("1.flac", FlacFile(44100, 2, 16, 100000, 220800,
                         {{"ARTIST", "Zespół"}, {"TITLE", "Jeden"}, {"DATE", "2001"}}));
  Add("2.flac", FlacFile(44100, 2, 16, 100000, 231600, {{"ARTIST", ""}, {"TITLE", "Dwa"}}));
  Analyse();
  EXPECT_EQ(Row(0).BitrateText, QStringLiteral("55.20%"));
  EXPECT_EQ(Row(1).BitrateText, QStringLiteral("57.90%"));
  EXPECT_EQ(model_.Summary.AverageText, QStringLiteral("57 %"));
  EXPECT_EQ(model_.Summary.QualityText, QStringLiteral("Lossless"));
  EXPECT_EQ(model_.Summary.EncoderText, QStringLiteral("Free Lossless Audio Codec (FLAC)"));
  EXPECT_EQ(model_.Summary.SampleRateText, QStringLiteral("44100 HZ / 16 Bit"));
  EXPECT_EQ(Row(0).Artist, QStringLiteral("Zespół"));
  EXPECT_EQ(Row(0).Title, QStringLiteral("Jeden"));
  // An empty ARTIST leaves the row as the other tags made it.
  EXPECT_EQ(Row(1).Title, QStringLiteral(" "));
  EXPECT_EQ(model_.Summary.VorbisTagText, QStringLiteral("-"));
}

TEST_F(TrackAnalysisTest, SecondsAreRoundedForMpegAndCutForLossless) {
  Add("1.flac", FlacFile(1000, 2, 16, 3599600, 4000));
  Analyse();
  EXPECT_EQ(Row(0).DurationSecondsText, QStringLiteral("3599"));
  EXPECT_EQ(Row(0).DurationText, QStringLiteral("59:59"));

  TempFolder other;
  other.Write(QStringLiteral("1.mp3"), MpegXingFrames(137798, 50000000));  // 3599.61 s
  ScanFolder(model_.Scan, other.Path());
  AnalyseTracks(model_);
  EXPECT_EQ(Row(0).DurationSecondsText, QStringLiteral("3600"));
  EXPECT_EQ(Row(0).DurationText, QStringLiteral("59:59"));
}

TEST_F(TrackAnalysisTest, VariousArtistsAreDetectedButNeverUnchecked) {
  Add("1.mp3", Id3v2Tag({{"TPE1", "A"}, {"TALB", "First"}}) + MpegFrames(128, 8));
  Add("2.mp3", Id3v2Tag({{"TPE1", "A"}, {"TALB", "Second"}}) + MpegFrames(128, 8));
  Add("3.mp3", Id3v2Tag({{"TPE1", "B"}}) + MpegFrames(128, 8));
  Analyse();
  EXPECT_TRUE(model_.Summary.VariousArtists);
  EXPECT_EQ(model_.Summary.VariousAlbumTitle, QStringLiteral("First"));

  TempFolder same;
  for (const char* name : {"1.mp3", "2.mp3"}) {
    same.Write(QString::fromUtf8(name), Id3v2Tag({{"TPE1", "A"}}) + MpegFrames(128, 8));
  }
  ScanFolder(model_.Scan, same.Path());
  AnalyseTracks(model_);
  EXPECT_TRUE(model_.Summary.VariousArtists);  // left as it was
  model_.Summary.VariousArtists = false;
  AnalyseTracks(model_);
  EXPECT_FALSE(model_.Summary.VariousArtists);
}

TEST_F(TrackAnalysisTest, DatesYearGenreAndDiscInfoComeFromTheLastTrack) {
  Add("1.mp3", Id3v2Tag({{"TYER", "1999"}, {"TCON", "(17)Rock"}}) + MpegFrames(128, 8));
  Add("2.mp3", Id3v2Tag({{"TYER", "2004"}, {"TCON", "Jazz"}}) + MpegFrames(128, 8));
  SetModified("1.mp3", QDateTime(QDate(2001, 2, 3), QTime(12, 0)));
  // Just before midnight, local time: a date taken in UTC or cut from seconds would move a day.
  SetModified("2.mp3", QDateTime(QDate(2003, 5, 17), QTime(23, 59, 59, 900)));
  model_.Info.DiscInfo = QStringLiteral("typed by the user");
  Analyse();
  EXPECT_EQ(model_.Summary.Year, QStringLiteral("2004"));
  EXPECT_EQ(model_.Summary.Genre, QStringLiteral("Jazz"));
  EXPECT_TRUE(model_.Info.DiscInfo.isEmpty());
  EXPECT_EQ(model_.Info.PostDate, QDate(2025, 1, 31));
  EXPECT_EQ(model_.Info.RipDate, QDate(2003, 5, 17));
  EXPECT_TRUE(model_.Run.AnalysisDone);
}

TEST_F(TrackAnalysisTest, TrackHeldOpenForWritingAddsNoSizeButGivesItsDate) {
  Add("1.mp3", MpegFrames(128, 8) + QByteArray(1048576, '\0'));
  Add("2.mp3", QByteArray(3 * 1048576, '\0'));
  SetModified("2.mp3", QDateTime(QDate(2010, 10, 10), QTime(10, 0)));
  QFile writer(folder_.FilePath(QStringLiteral("2.mp3")));
  ASSERT_TRUE(writer.open(QIODevice::ReadWrite));
  Analyse();
  EXPECT_EQ(model_.Summary.TotalSizeText, QStringLiteral("1.00 MB"));
  EXPECT_EQ(model_.Info.RipDate, QDate(2010, 10, 10));
}

TEST_F(TrackAnalysisTest, TagTextsThatAreNotUtf8AreReadInTheCodePage) {
  UserLocale::SetSystem(QLocale(QLocale::Polish, QLocale::Poland));
  Add("1.mp3", Id3v2Tag({{"TIT2",
                          "\xA3\xF3"
                          "d\x9F"},
                         {"TPE1", "Zesp\xC3\xB3\xC5\x82"}}) +
                   MpegFrames(128, 8));
  Analyse();
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(Row(0).Title, QStringLiteral("Łódź"));
  EXPECT_EQ(Row(0).Artist, QStringLiteral("Zespół"));
}

TEST_F(TrackAnalysisTest, ChecksumsAreComputedInTrackOrderWithProgress) {
  Add("b.mp3", QByteArray("123456789"));
  Add("a.mp3", QByteArray());
  Analyse(true, QStringLiteral("SFV"));
  EXPECT_EQ(Row(0).ChecksumText, QStringLiteral("00000000"));
  EXPECT_EQ(Row(1).ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(progress_, (QList<int>{50, 100}));

  Analyse(true, QStringLiteral("MD5"));
  EXPECT_EQ(Row(0).ChecksumText, QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
  Analyse(true, QStringLiteral("sfv"));
  EXPECT_EQ(Row(0).ChecksumText, QString());
  Analyse(false);
  EXPECT_EQ(Row(0).ChecksumText, QStringLiteral(" "));
}

TEST_F(TrackAnalysisTest, FileThatVanishesBeforeItsChecksumStopsTheAnalysis) {
  Add("1.mp3", MpegFrames(128, 8));
  Add("2.mp3", MpegFrames(128, 8));
  ScanFolder(model_.Scan, folder_.Path());
  QFile::remove(folder_.FilePath(QStringLiteral("2.mp3")));
  try {
    AnalysisOptions options;
    options.Choices = {true, ChecksumKind::Sfv};
    AnalyseTracks(model_, options);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Cannot open file ")));
    EXPECT_TRUE(error.Message().endsWith(QStringLiteral("2.mp3")));
  }
  EXPECT_NE(Row(0).ChecksumText, QStringLiteral(" "));
  EXPECT_EQ(Row(1).ChecksumText, QStringLiteral(" "));
  EXPECT_FALSE(model_.Run.AnalysisDone);
}

TEST_F(TrackAnalysisTest, FlacHeldOpenForWritingStopsTheAnalysisWithItsOpenError) {
  Add("1.flac", FlacFile(44100, 2, 16, 100000, 1000, {{"ARTIST", "X"}}));
  Add("2.flac", FlacFile(44100, 2, 16, 100000, 1000));
  QFile writer(folder_.FilePath(QStringLiteral("2.flac")));
  ASSERT_TRUE(writer.open(QIODevice::ReadWrite));
  EXPECT_THROW(Analyse(), FileError);
  EXPECT_EQ(Row(0).Artist, QStringLiteral("X"));
  EXPECT_EQ(model_.Scan.TrackCount, 2);
  EXPECT_FALSE(model_.Run.AnalysisDone);
}

TEST_F(TrackAnalysisTest, OutputBaseNameExpandsTheTemplateFromTheFirstRow) {
  Add("1.mp3",
      Id3v2Tag({{"TPE1", "Abc %album%"}, {"TALB", "Def"}, {"TIT2", "T"}}) + MpegFrames(128, 8));
  model_.Info.FileNameTemplate = QStringLiteral("00. %author% - %album% [%title%] %Author%");
  Analyse();
  EXPECT_EQ(model_.Run.OutputBaseName, QStringLiteral("00. Abc Def - Def [T] %Author%"));
}

// The album artist of the tags stands for the release: guests of single tracks make no various-
// artists release and give the files no guest's name, while "Various Artists" as album artist
// makes one. Values reach the rows without their NULs and control characters.
TEST_F(TrackAnalysisTest, AlbumArtistNamesTheReleaseAndCleansTagText) {
  Add("1.mp3",
      Id3v2Tag(
          {{"TPE1", "Ann feat. Bo"}, {"TPE2", "Ann"}, {"TALB", "Live"}, {"TIT2", "One\ttwo"}}) +
          MpegFrames(128, 8));
  Add("2.mp3", Id3v2Tag({{"TPE1", "Ann"}, {"TALB", "Live"}}) + MpegFrames(128, 8) +
                   ApeTag({{"ALBUMARTIST", "Ann"}}));
  Add("3.flac",
      FlacFile(44100, 2, 16, 100000, 1000, {{"ARTIST", "Ann feat. Cy"}, {"ALBUM ARTIST", "Ann"}}));
  Add("4.mp3", MpegFrames(128, 8));  // no tag at all: no say in the album artist
  model_.Info.FileNameTemplate = QStringLiteral("%author% - %album%");
  Analyse();
  // The FLAC file is not of the dominant format; only the three MP3 files are tracks.
  ASSERT_EQ(model_.Tracks.size(), 3u);
  EXPECT_EQ(model_.Summary.AlbumArtist, QStringLiteral("Ann"));
  EXPECT_FALSE(model_.Summary.VariousArtists);
  EXPECT_EQ(model_.Run.OutputBaseName, QStringLiteral("Ann - Live"));
  EXPECT_EQ(Row(0).Artist, QStringLiteral("Ann feat. Bo"));  // the track keeps its own artist
  EXPECT_EQ(Row(0).Title, QStringLiteral("One two"));
  EXPECT_EQ(Row(0).AlbumArtist, QStringLiteral("Ann"));

  TempFolder various;
  for (const char* name : {"1.flac", "2.flac"}) {
    various.Write(QString::fromUtf8(name),
                  FlacFile(44100, 2, 16, 100000, 1000,
                           {{"ARTIST", name}, {"ALBUM", "Hits"}, {"ALBUMARTIST", "various"}}));
  }
  ScanFolder(model_.Scan, various.Path());
  AnalyseTracks(model_);
  EXPECT_EQ(model_.Summary.AlbumArtist, QStringLiteral("various"));
  EXPECT_TRUE(model_.Summary.VariousArtists);
  EXPECT_EQ(model_.Summary.VariousAlbumTitle, QStringLiteral("Hits"));
}

// The track pass opens each file once: its tags are read through the stream that the stream
// reader then reads, for every format of the table.
TEST(TrackPassOpensTest, EveryFormatIsOpenedOncePerTrack) {
  const char* const fixtures[] = {"lame-cbr.mp3",      "tagged.flac",      "mpc-sv8-apetag.mpc",
                                  "wavpack-apetag.wv", "aac-lc.m4a",       "alac.m4a",
                                  "opus-tagged.opus",  "vorbis-tagged.ogg"};
  for (const char* name : fixtures) {
    TempFolder folder;
    QFile source(TestDataPath(QStringLiteral("readers/") + QLatin1String(name)));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << name;
    const QByteArray bytes = source.readAll();
    folder.Write(QStringLiteral("1-") + QLatin1String(name), bytes);
    folder.Write(QStringLiteral("2-") + QLatin1String(name), bytes);
    Release release;
    ScanFolder(release.Scan, folder.Path());
    ASSERT_EQ(release.Scan.TrackList.size(), 2) << name;

    std::mutex mutex;
    QMap<QString, int> opens;
    SetFileAccessHook([&](const QString& path, FileAccess access) {
      if (access != FileAccess::Open)
        return;
      const std::lock_guard lock(mutex);
      ++opens[path];
    });
    AnalysisOptions options;
    options.Choices = {false, ChecksumKind::None};
    AnalyseTracks(release, options);
    SetFileAccessHook({});

    EXPECT_EQ(opens.size(), 2) << name;
    for (auto it = opens.begin(); it != opens.end(); ++it)
      EXPECT_EQ(it.value(), 1) << name << " " << it.key().toStdString();
    EXPECT_TRUE(release.Tracks[0].StreamUsable()) << name;
  }
}
