#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cmath>

#include "app/CommandLine.h"
#include "extras/LogMatch.h"
#include "extras/PcmChecksums.h"
#include "support/AudioFixtures.h"
#include "support/TestSupport.h"

using namespace fixtures;

namespace {

struct CliRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

// Runs velmora-cli with its program folder (the working folder) in `programDir`.
CliRun RunCli(const QString& programDir, const QStringList& arguments,
              const QString& locale = QStringLiteral("en_US.UTF-8"),
              const QString& libraryPath = QString()) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LC_ALL"), locale);
  environment.insert(QStringLiteral("LANG"), locale);
  if (!libraryPath.isEmpty())
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"), libraryPath);
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(programDir);
  process.start(QStringLiteral(VELMORA_CLI), arguments);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray TaggedTrack(const QByteArray& artist, const QByteArray& title, int kbps = 128) {
  return Id3v2Tag({{"TPE1", artist}, {"TIT2", title}, {"TALB", "Album"}, {"TYER", "2024"}}, 3) +
         MpegFrames(kbps, 40);
}

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    program_.Write(QStringLiteral("nfo.ini"),
                   "[Velmora]\r\nautocrc=1\r\ncrc=SFV\r\nsaveunicode=0\r\n"
                   "filenametemplate=00. %author% - %album%\r\n");
  }
  QString Album() const { return album_.Path(); }

  TempFolder program_;
  TempFolder album_;
};

}  // namespace

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("A", "T"));
  for (const QStringList& arguments :
       {QStringList{}, QStringList{QStringLiteral("--bogus"), Album()},
        QStringList{QStringLiteral("--set"), QStringLiteral("NoSuchField=1"), Album()},
        QStringList{QStringLiteral("--set"), QStringLiteral("Nmr=yes"), Album()},
        QStringList{QStringLiteral("--set"), QStringLiteral("RipDate=2024-13-01"), Album()},
        QStringList{QStringLiteral("--now"), QStringLiteral("yesterday"), Album()},
        QStringList{QStringLiteral("--checksum"), QStringLiteral("crc"), Album()},
        QStringList{QStringLiteral("--ads"), QStringLiteral("--no-ads"), Album()},
        QStringList{Album(), Album()}}) {
    const CliRun run = RunCli(program_.Path(), arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(run.err.isEmpty());
  }
  EXPECT_TRUE(album_.Read(QStringLiteral("00. A - Album.nfo")).isEmpty());
}

TEST_F(CliTest, HelpAndVersionSucceed) {
  EXPECT_EQ(RunCli(program_.Path(), {QStringLiteral("--help")}).exitCode, 0);
  const CliRun version = RunCli(program_.Path(), {QStringLiteral("--version")});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(version.out.startsWith("Velmora v1.21a"));
}

TEST_F(CliTest, FolderWithoutAudioExitsWithOne) {
  album_.Write(QStringLiteral("notes.txt"), "x");
  const CliRun run = RunCli(program_.Path(), {Album()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains("No MP3"));
  EXPECT_EQ(RunCli(program_.Path(), {album_.FilePath(QStringLiteral("missing"))}).exitCode, 1);
}

TEST_F(CliTest, SavesTheNfoAndSelectedFilesAndNamesThem) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  album_.Write(QStringLiteral("2.mp3"), TaggedTrack("Artist", "Two"));
  const CliRun run =
      RunCli(program_.Path(), {QStringLiteral("--set"), QStringLiteral("IncludePls=1"),
                               QStringLiteral("--set"), QStringLiteral("IncludeM3u=1"), Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QString base = QStringLiteral("00. Artist - Album");
  EXPECT_FALSE(album_.Read(base + QStringLiteral(".nfo")).isEmpty());
  EXPECT_TRUE(album_.Read(base + QStringLiteral(".sfv")).contains("1.mp3 "));
  EXPECT_TRUE(album_.Read(base + QStringLiteral(".pls")).startsWith("[playlist]\r\n"));
  EXPECT_TRUE(album_.Read(base + QStringLiteral(".m3u")).startsWith("#EXTM3U\r\n"));
  EXPECT_TRUE(run.out.contains(".nfo"));
}

TEST_F(CliTest, PrintWritesTheNfoBytesAndSavesNothing) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  const CliRun run = RunCli(program_.Path(), {QStringLiteral("--print"), Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.startsWith(QByteArray(69, '-') + "\r\n"));
  EXPECT_TRUE(run.out.contains("Artist...............: Artist\r\n"));
  EXPECT_TRUE(run.out.endsWith(" ::\r\n"));
  EXPECT_TRUE(album_.Read(QStringLiteral("00. Artist - Album.nfo")).isEmpty());
}

TEST_F(CliTest, JsonCarriesTheSchemaKeys) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One", 192));
  album_.Write(QStringLiteral("2.mp3"), QByteArray("not audio"));
  album_.Write(QStringLiteral("3.flac"), QByteArray("fLaC"));
  const CliRun run = RunCli(program_.Path(), {QStringLiteral("--json"), QStringLiteral("--set"),
                                              QStringLiteral("SelectedGroups=a.b;c.d"), Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QJsonParseError error;
  const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError);
  EXPECT_EQ(root.keys(), (QStringList{QStringLiteral("info"), QStringLiteral("run"),
                                      QStringLiteral("scan"), QStringLiteral("summary"),
                                      QStringLiteral("tracks"), QStringLiteral("warnings")}));
  const QJsonObject scan = root[QStringLiteral("scan")].toObject();
  EXPECT_EQ(scan[QStringLiteral("DominantExtension")].toString(), QStringLiteral("mp3"));
  EXPECT_EQ(scan[QStringLiteral("FormatCounts")].toObject()[QStringLiteral("flac")].toInt(), 1);
  const QJsonObject track = root[QStringLiteral("tracks")].toArray().at(0).toObject();
  EXPECT_EQ(track[QStringLiteral("BitrateText")].toString(), QStringLiteral("CBR 192 kbit/s"));
  const QJsonObject stream = track[QStringLiteral("Stream")].toObject();
  EXPECT_TRUE(stream[QStringLiteral("Valid")].toBool());
  EXPECT_EQ(stream[QStringLiteral("BitRate")].toInt(), 192);
  EXPECT_TRUE(stream[QStringLiteral("Ratio")].isNull());
  EXPECT_EQ(stream[QStringLiteral("SampleRate")].toInt(), 44100);
  const QJsonObject info = root[QStringLiteral("info")].toObject();
  EXPECT_EQ(info[QStringLiteral("SelectedGroups")].toArray().size(), 2);
  EXPECT_TRUE(info[QStringLiteral("IncludeChecksums")].toBool());
  EXPECT_EQ(info.size(), 21);
  EXPECT_EQ(root[QStringLiteral("summary")].toObject().size(), 21);
  EXPECT_EQ(root[QStringLiteral("run")].toObject()[QStringLiteral("TrackCount")].toInt(), 2);
  const QJsonObject unreadable = root[QStringLiteral("tracks")]
                                     .toArray()
                                     .at(1)
                                     .toObject()[QStringLiteral("Stream")]
                                     .toObject();
  EXPECT_FALSE(unreadable[QStringLiteral("Valid")].toBool());
  EXPECT_EQ(unreadable[QStringLiteral("BitRate")].toInt(), 0);
  EXPECT_TRUE(run.err.contains("mixes formats"));
  EXPECT_TRUE(album_.Read(QStringLiteral("00. Artist - Album.nfo")).isEmpty());
}

TEST_F(CliTest, NfoThatCannotBeCreatedExitsWithThreeAndWritesNothingElse) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  // CI runs as root, so a folder in the NFO's place is what makes the creation fail.
  album_.Write(QStringLiteral("00. Artist - Album.nfo/blocker"), "x");
  const CliRun run =
      RunCli(program_.Path(), {QStringLiteral("--set"), QStringLiteral("IncludePls=1"), Album()});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(run.err.startsWith("Cannot create file ")) << run.err.toStdString();
  EXPECT_TRUE(album_.Read(QStringLiteral("00. Artist - Album.sfv")).isEmpty());
  EXPECT_TRUE(album_.Read(QStringLiteral("00. Artist - Album.pls")).isEmpty());
  EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(CliTest, NeverWritesSettingsOrNote) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  const QByteArray settings = program_.Read(QStringLiteral("nfo.ini"));
  ASSERT_EQ(RunCli(program_.Path(), {QStringLiteral("--no-ads"), Album()}).exitCode, 0);
  EXPECT_EQ(program_.Read(QStringLiteral("nfo.ini")), settings);
  EXPECT_TRUE(program_.Read(QStringLiteral("note.txt")).isEmpty());
}

TEST_F(CliTest, SetFileTakesAnyFieldAndChecksWhatTheFileHolds) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  const QString ripDate = program_.Write(QStringLiteral("date.txt"), "2023-04-05");
  const QString nmr = program_.Write(QStringLiteral("nmr.txt"), "1");
  const QString note = program_.Write(QStringLiteral("note.in"),
                                      "\xEF\xBB\xBFPierwsza\n\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87");
  const CliRun run =
      RunCli(program_.Path(), {QStringLiteral("--json"), QStringLiteral("--set-file"),
                               QStringLiteral("RipDate=") + ripDate, QStringLiteral("--set-file"),
                               QStringLiteral("Nmr=") + nmr, QStringLiteral("--set-file"),
                               QStringLiteral("NoteText=") + note, Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QJsonObject root = QJsonDocument::fromJson(run.out).object();
  const QJsonObject info = root[QStringLiteral("info")].toObject();
  EXPECT_EQ(info[QStringLiteral("RipDate")].toString(), QStringLiteral("2023-04-05"));
  EXPECT_EQ(info[QStringLiteral("NoteText")].toString(), QStringLiteral("Pierwsza\nŻółć"));
  EXPECT_TRUE(root[QStringLiteral("summary")].toObject()[QStringLiteral("Nmr")].toBool());

  // What the file holds is checked before any work, like a value given on the command line.
  const QString badDate = program_.Write(QStringLiteral("bad.txt"), "yesterday");
  const CliRun malformed = RunCli(program_.Path(), {QStringLiteral("--set-file"),
                                                    QStringLiteral("RipDate=") + badDate, Album()});
  EXPECT_EQ(malformed.exitCode, 2);
  EXPECT_TRUE(malformed.err.contains("bad.txt")) << malformed.err.toStdString();
  const QString missing = program_.FilePath(QStringLiteral("missing.txt"));
  const CliRun unreadable =
      RunCli(program_.Path(),
             {QStringLiteral("--set-file"), QStringLiteral("NoteText=") + missing, Album()});
  EXPECT_EQ(unreadable.exitCode, 3);
  EXPECT_TRUE(unreadable.err.startsWith("Cannot open file ")) << unreadable.err.toStdString();
  EXPECT_TRUE(album_.Read(QStringLiteral("00. Artist - Album.nfo")).isEmpty());
}

TEST_F(CliTest, Md5WithoutTheCryptoLibrarySaysSoAndExitsWithThree) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  // A library of that name that is no library at all: loading it fails as a missing one does.
  TempFolder libraries;
  libraries.Write(QStringLiteral("libcrypto.so.3"), "not a shared object");
  const CliRun run =
      RunCli(program_.Path(), {QStringLiteral("--checksum"), QStringLiteral("md5"), Album()},
             QStringLiteral("en_US.UTF-8"), libraries.Path());
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(run.err.contains("MD5 checksums are unavailable")) << run.err.toStdString();
  EXPECT_TRUE(album_.Read(QStringLiteral("00. Artist - Album.nfo")).isEmpty());
}

TEST(CommandLineTest, OptionsBecomeARequest) {
  const ParseOutcome parsed = ParseCommandLine(
      {QStringLiteral("velmora-cli"), QStringLiteral("--checksum"), QStringLiteral("none"),
       QStringLiteral("--no-unicode"), QStringLiteral("--template"), QStringLiteral("%album%"),
       QStringLiteral("--now"), QStringLiteral("2024-05-17T21:04:05"), QStringLiteral("--set"),
       QStringLiteral("Nmr=1"), QStringLiteral("--set"), QStringLiteral("Genre=Rock=Roll"),
       QStringLiteral("/music")});
  ASSERT_EQ(parsed.Result, ParseOutcome::Kind::Run);
  const CliRequest& request = parsed.Request;
  EXPECT_EQ(request.Folder, QStringLiteral("/music"));
  EXPECT_EQ(request.ChecksumKind, QString());
  EXPECT_EQ(request.SaveUnicode, false);
  EXPECT_FALSE(request.Ads.has_value());
  EXPECT_EQ(request.Template, QStringLiteral("%album%"));
  EXPECT_EQ(request.Now, QDateTime(QDate(2024, 5, 17), QTime(21, 4, 5)));
  ASSERT_EQ(request.FieldValues.size(), 2);
  EXPECT_EQ(request.FieldValues[1].second, QStringLiteral("Rock=Roll"));
}

// Whatever the job leaves out is said, one warning each, on standard error and in the JSON;
// --strict turns a warning into exit 4 before anything is saved.
TEST_F(CliTest, LeftOutAndUnreadableFilesAreWarnedAboutAndStrictSavesNothing) {
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  album_.Write(QStringLiteral("2.mp3"), QByteArray());
  album_.Write(QStringLiteral("bonus.wav"), QByteArray("RIFF"));
  const CliRun strict = RunCli(program_.Path(), {QStringLiteral("--strict"), Album()});
  EXPECT_EQ(strict.exitCode, 4);
  EXPECT_TRUE(strict.err.contains("Warning: Left out: bonus.wav ("));
  EXPECT_TRUE(strict.err.contains("Warning: Not read: 2.mp3 (the file is empty)"));
  EXPECT_EQ(QDir(Album()).entryList({QStringLiteral("*.nfo")}), QStringList());

  const CliRun json = RunCli(program_.Path(), {QStringLiteral("--json"), Album()});
  ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
  const QJsonObject root = QJsonDocument::fromJson(json.out).object();
  const QJsonArray leftOut = root[QStringLiteral("scan")][QStringLiteral("LeftOut")].toArray();
  ASSERT_EQ(leftOut.size(), 1);
  EXPECT_EQ(leftOut[0][QStringLiteral("Name")].toString(), QStringLiteral("bonus.wav"));
  EXPECT_EQ(leftOut[0][QStringLiteral("Reason")].toString(), QStringLiteral("format"));
  EXPECT_EQ(root[QStringLiteral("warnings")].toArray().size(), 2);
}

// Every failure says why, and odd folder names work.
TEST_F(CliTest, FailuresSayWhyAndAFolderMayStartWithADash) {
  const CliRun missing = RunCli(program_.Path(), {album_.FilePath(QStringLiteral("gone"))});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.err.contains("Folder not found: " +
                                   album_.FilePath(QStringLiteral("gone")).toUtf8()));
  album_.Write(QStringLiteral("1.mp3"), TaggedTrack("Artist", "One"));
  EXPECT_EQ(RunCli(program_.Path(),
                   {QStringLiteral("--language"), QStringLiteral("nowhere.lng"), Album()})
                .exitCode,
            2);

  program_.Write(QStringLiteral("-x/1.mp3"), TaggedTrack("Artist", "One"));
  program_.Write(QStringLiteral("date.txt"), "2024-05-16\n");
  const CliRun dashed =
      RunCli(program_.Path(),
             {QStringLiteral("--print"), QStringLiteral("--set-file"),
              QStringLiteral("RipDate=date.txt"), QStringLiteral("--"), QStringLiteral("-x")});
  EXPECT_EQ(dashed.exitCode, 0) << dashed.err.toStdString();
  EXPECT_TRUE(dashed.out.contains("Ripped by............: "));
  EXPECT_TRUE(dashed.out.contains("16"));  // the date from the file, its line break dropped
}

// With --utf8 the lists keep every name exactly as on disk, in UTF-8, so the tools of this
// platform find the files.
TEST_F(CliTest, Utf8ListsNameTheFilesAsTheyAre) {
  const QString name = QStringLiteral("01 - Łódź 日本 🎵.mp3");
  album_.Write(name, TaggedTrack("Zespół 日本", "One"));
  const CliRun run = RunCli(program_.Path(), {QStringLiteral("--utf8"), Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QString base = QStringLiteral("00. Zespół 日本 - Album");
  const QByteArray list = album_.Read(base + QStringLiteral(".sfv"));
  EXPECT_TRUE(list.contains(name.toUtf8() + ' '));
  EXPECT_FALSE(list.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(album_.Read(base + QStringLiteral(".nfo")).contains("Zespół 日本"));
}

namespace {

// Runs a checksum tool on a list inside the folder; its exit code.
int VerifyWith(const char* tool, const QString& folder, const QString& list) {
  QProcess process;
  process.setWorkingDirectory(folder);
  process.setProcessChannelMode(QProcess::MergedChannels);
  const QStringList arguments = QByteArray(tool) == "cksfv"
                                    ? QStringList{QStringLiteral("-f"), list}
                                    : QStringList{QStringLiteral("-c"), list};
  process.start(QLatin1String(tool), arguments);
  process.waitForFinished(60000);
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

// A folder of disc folders is one release: one NFO at the top with a block per disc, and in
// each disc folder the lists and playlists of its own files, which the platform's tools verify.
// Folders not named as discs play no part.
TEST_F(CliTest, DiscFoldersMakeOneReleaseWithListsInEachDisc) {
  album_.Write(QStringLiteral("CD1/01 - Alpha.mp3"), TaggedTrack("Band", "Alpha"));
  album_.Write(QStringLiteral("CD1/02 - Beta.mp3"), TaggedTrack("Band", "Beta"));
  album_.Write(QStringLiteral("Disc 10 - Live/01 - Omega.mp3"), TaggedTrack("Band", "Omega"));
  album_.Write(QStringLiteral("cd 2/01 - Gamma.mp3"), TaggedTrack("Band", "Gamma"));
  album_.Write(QStringLiteral("Bonus/01 - Extra.mp3"), TaggedTrack("Band", "Extra"));
  album_.Write(QStringLiteral("Scans/front.jpg"), "jpeg");

  const CliRun json = RunCli(program_.Path(), {QStringLiteral("--json"), Album()});
  ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
  const QJsonObject release = QJsonDocument::fromJson(json.out).object();
  EXPECT_EQ(release[QStringLiteral("scan")][QStringLiteral("Discs")].toArray(),
            (QJsonArray{QStringLiteral("CD1"), QStringLiteral("cd 2"),
                        QStringLiteral("Disc 10 - Live")}));
  const QJsonArray tracks = release[QStringLiteral("tracks")].toArray();
  ASSERT_EQ(tracks.size(), 4);
  EXPECT_EQ(tracks[2][QStringLiteral("Disc")], QStringLiteral("cd 2"));
  EXPECT_EQ(tracks[2][QStringLiteral("FileName")], QStringLiteral("01 - Gamma.mp3"));

  for (const char* kind : {"sfv", "md5"}) {
    const CliRun run =
        RunCli(program_.Path(),
               {QStringLiteral("--utf8"), QStringLiteral("--checksum"), QLatin1String(kind),
                QStringLiteral("--set"), QStringLiteral("IncludeM3u=1"), Album()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const QString& disc : {QStringLiteral("CD1"), QStringLiteral("cd 2")}) {
      const QString list =
          QStringLiteral("00. Band - Album - %1.%2").arg(disc, QLatin1String(kind));
      EXPECT_EQ(
          VerifyWith(QByteArray(kind) == "sfv" ? "cksfv" : "md5sum", album_.FilePath(disc), list),
          0)
          << kind << " " << disc.toStdString();
      EXPECT_TRUE(QFile::exists(album_.FilePath(disc + QStringLiteral("/00. Band - Album - ") +
                                                disc + QStringLiteral(".m3u"))));
    }
  }
  EXPECT_FALSE(album_.Read(QStringLiteral("cd 2/00. Band - Album - cd 2.sfv")).contains("Alpha"));

  const QString nfo = QString::fromUtf8(album_.Read(QStringLiteral("00. Band - Album.nfo")));
  const QString blank23(23, QLatin1Char(' '));
  EXPECT_TRUE(nfo.contains(blank23 + QStringLiteral("CD1\r\n\r\n   1. Band - Alpha")));
  EXPECT_TRUE(nfo.contains(QStringLiteral("   2. Band - Beta")));
  EXPECT_TRUE(nfo.contains(blank23 + QStringLiteral("cd 2\r\n\r\n   1. Band - Gamma")));
  EXPECT_TRUE(nfo.contains(blank23 + QStringLiteral("Disc 10 - Live\r\n\r\n   1. Band - Omega")));
  EXPECT_FALSE(nfo.contains(QStringLiteral("Extra")));
  EXPECT_FALSE(
      QFile::exists(album_.FilePath(QStringLiteral("Bonus/00. Band - Album - Bonus.sfv"))));
}

// Audio of its own makes a folder a release of one folder, whatever disc folders it holds.
TEST_F(CliTest, AFolderWithItsOwnAudioIgnoresItsDiscFolders) {
  album_.Write(QStringLiteral("01 - Alpha.mp3"), TaggedTrack("Band", "Alpha"));
  album_.Write(QStringLiteral("CD2/01 - Gamma.mp3"), TaggedTrack("Band", "Gamma"));
  const CliRun run = RunCli(program_.Path(), {QStringLiteral("--json"), Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QJsonObject release = QJsonDocument::fromJson(run.out).object();
  EXPECT_TRUE(release[QStringLiteral("scan")][QStringLiteral("Discs")].toArray().isEmpty());
  EXPECT_EQ(release[QStringLiteral("tracks")].toArray().size(), 1);
  EXPECT_EQ(release[QStringLiteral("tracks")][0][QStringLiteral("Disc")], QString());
}

// The audio pass from the command line: the NFO's three lines and its DR report, a picture per
// track, the figures in the JSON; a file that cannot be decoded is named and the rest goes on.
TEST_F(CliTest, AudioPassFillsTheNfoTheReportThePicturesAndTheJson) {
  for (const int n : {1, 2}) {
    ASSERT_TRUE(WriteSineWithFfmpeg(album_.FilePath(QStringLiteral("0%1.flac").arg(n)), 440 * n, 4))
        << "ffmpeg is missing";
  }
  // A FLAC header and nothing decodable after it.
  album_.Write(QStringLiteral("03.flac"), QByteArray("fLaC") + QByteArray(4000, '\x11'));
  const QString pictures = album_.FilePath(QStringLiteral("pictures"));

  const CliRun run =
      RunCli(program_.Path(), {QStringLiteral("--audio"), QStringLiteral("--audio-nfo"),
                               QStringLiteral("--spectrograms"), pictures, Album()});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QByteArray nfo = album_.Read(QStringLiteral("00.   -  .nfo"));
  EXPECT_TRUE(nfo.contains("\r\nDynamic Range........: DR")) << nfo.toStdString();
  EXPECT_TRUE(nfo.contains("\r\nLoudness.............: -")) << nfo.toStdString();
  EXPECT_TRUE(nfo.contains(" LUFS, peak -")) << nfo.toStdString();
  EXPECT_TRUE(nfo.contains("\r\nReplayGain...........: ")) << nfo.toStdString();
  EXPECT_TRUE(nfo.contains("Included.............: NFO, SFV, DR\r\n")) << nfo.toStdString();
  const QByteArray report = album_.Read(QStringLiteral("00.   -  _dr.txt"));
  EXPECT_EQ(report.count(" dB      0:04 0"), 2) << report.toStdString();
  EXPECT_TRUE(report.contains("Official DR value: DR")) << report.toStdString();
  for (const char* name : {"01.flac.png", "02.flac.png"}) {
    QFile picture(pictures + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly)) << name;
    EXPECT_TRUE(picture.readAll().startsWith("\x89PNG\r\n")) << name;
  }
  EXPECT_FALSE(QFile::exists(pictures + QStringLiteral("/03.flac.png")));
  EXPECT_TRUE(run.err.contains("Warning: Not decoded: 03.flac (")) << run.err.toStdString();

  const CliRun json =
      RunCli(program_.Path(), {QStringLiteral("--audio"), QStringLiteral("--json"), Album()});
  ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
  const QJsonObject audio =
      QJsonDocument::fromJson(json.out).object()[QStringLiteral("audio")].toObject();
  const QJsonArray tracks = audio[QStringLiteral("tracks")].toArray();
  ASSERT_EQ(tracks.size(), 3);
  // ffmpeg's sine source plays at an eighth of full scale.
  EXPECT_NEAR(tracks[0][QStringLiteral("Peak")].toDouble(), -20 * std::log10(1 / 0.125), 0.2);
  EXPECT_TRUE(tracks[2].isNull());
  EXPECT_TRUE(audio[QStringLiteral("album")][QStringLiteral("Loudness")].isDouble());
  // Without the pass the report has no audio object.
  const CliRun plain = RunCli(program_.Path(), {QStringLiteral("--json"), Album()});
  EXPECT_FALSE(QJsonDocument::fromJson(plain.out).object().contains(QStringLiteral("audio")));
}

namespace {

// Three tracks of known 16-bit stereo PCM as FLAC files (ffmpeg), and each track's PCM checksums
// as a rip log states them.
std::vector<PcmChecksums::Result> WriteKnownAlbum(const TempFolder& album) {
  std::vector<PcmChecksums::Result> sums;
  for (int t = 0; t < 3; ++t) {
    std::vector<int16_t> samples(2 * 44100);
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<int16_t>((i * (t + 3) * 7919) % 20000 - 10000);
    PcmChecksums pcm(t == 0, t == 2);
    pcm.Add(samples.data(), samples.size() / 2);
    sums.push_back(pcm.Finish());
    const QString raw = album.Write(QStringLiteral("raw%1.pcm").arg(t),
                                    QByteArray(reinterpret_cast<const char*>(samples.data()),
                                               static_cast<qsizetype>(samples.size() * 2)));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
                  QStringLiteral("s16le"), QStringLiteral("-ar"), QStringLiteral("44100"),
                  QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-i"), raw,
                  album.FilePath(QStringLiteral("0%1 - Track.flac").arg(t + 1))});
    EXPECT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0) << "ffmpeg is missing";
    QFile::remove(raw);
  }
  return sums;
}

QByteArray EacLogOf(const std::vector<PcmChecksums::Result>& sums, int wrongTrack) {
  QByteArray log =
      "Exact Audio Copy V1.6 from 23. October 2020\r\n\r\n"
      "EAC extraction logfile from 7. March 2021, 19:48\r\n\r\nBand / Album\r\n\r\n"
      "Used drive  : PLEXTOR DVDR   PX-716A   Adapter: 1  ID: 0\r\n\r\n"
      "Read mode               : Secure\r\n"
      "Read offset correction                      : 30\r\n"
      "Null samples used in CRC calculations       : Yes\r\n\r\n";
  for (int t = 0; t < static_cast<int>(sums.size()); ++t) {
    const uint32_t crc = t + 1 == wrongTrack ? sums[static_cast<size_t>(t)].Crc ^ 1u
                                             : sums[static_cast<size_t>(t)].Crc;
    log += QStringLiteral(
               "Track %1\r\n\r\n     Copy CRC %2\r\n"
               "     Accurately ripped (confidence 5)  [%3]  (AR v2)\r\n"
               "     Copy OK\r\n\r\n")
               .arg(t + 1, 2)
               .arg(CrcText(crc), CrcText(sums[static_cast<size_t>(t)].ArV2))
               .toUtf8();
  }
  return log + "End of status report\r\n";
}

}  // namespace

// A poster's folder with a log, a cue sheet and a cover: the boxes follow what is there, Ripper
// and CD/DVD come from the log, each track's audio is held against the log's CRC (the one
// changed is named), and the NFO says so when asked.
TEST_F(CliTest, RipLogFillsThePageAndIsMatchedAgainstTheAudio) {
  const std::vector<PcmChecksums::Result> sums = WriteKnownAlbum(album_);
  album_.Write(QStringLiteral("Band - Album.log"), EacLogOf(sums, 3));
  album_.Write(QStringLiteral("Band - Album.cue"), "FILE \"01 - Track.flac\" WAVE\r\n");
  album_.Write(QStringLiteral("Cover.JPG"), "jpeg");

  const CliRun json = RunCli(program_.Path(), {QStringLiteral("--json"), Album()});
  ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
  const QJsonObject release = QJsonDocument::fromJson(json.out).object();
  const QJsonObject extras = release[QStringLiteral("scan")][QStringLiteral("Extras")].toObject();
  EXPECT_EQ(extras[QStringLiteral("Logs")].toArray(),
            QJsonArray{QStringLiteral("Band - Album.log")});
  EXPECT_EQ(extras[QStringLiteral("Covers")][QStringLiteral("Front")], QStringLiteral("Cover.JPG"));
  EXPECT_TRUE(extras[QStringLiteral("Covers")][QStringLiteral("Back")].isNull());
  const QJsonObject info = release[QStringLiteral("info")].toObject();
  EXPECT_TRUE(info[QStringLiteral("IncludeEacLog")].toBool());
  EXPECT_TRUE(info[QStringLiteral("IncludeCue")].toBool());
  EXPECT_TRUE(info[QStringLiteral("CoverFront")].toBool());
  EXPECT_FALSE(info[QStringLiteral("CoverBack")].toBool());
  const QJsonObject summary = release[QStringLiteral("summary")].toObject();
  EXPECT_EQ(summary[QStringLiteral("RipperProgram")], QStringLiteral("Exact Audio Copy 1.6"));
  EXPECT_TRUE(summary[QStringLiteral("Drive")].toString().contains(QStringLiteral("PX-716A")));

  const QJsonArray tracks = release[QStringLiteral("logs")][0][QStringLiteral("Tracks")].toArray();
  ASSERT_EQ(tracks.size(), 3);
  EXPECT_EQ(tracks[0][QStringLiteral("CrcMatch")], true);
  EXPECT_EQ(tracks[1][QStringLiteral("CrcMatch")], true);
  EXPECT_EQ(tracks[2][QStringLiteral("CrcMatch")], false);
  EXPECT_EQ(tracks[0][QStringLiteral("ArV2")], CrcText(sums[0].ArV2));
  EXPECT_EQ(tracks[2][QStringLiteral("AudioCrc")], CrcText(sums[2].Crc));

  // With the audio analysis on, its decode takes the log's checksums: the same verdict.
  const CliRun print =
      RunCli(program_.Path(), {QStringLiteral("--print"), QStringLiteral("--audio"),
                               QStringLiteral("--audio-nfo"), Album()});
  ASSERT_EQ(print.exitCode, 0) << print.err.toStdString();
  EXPECT_TRUE(
      print.out.contains("Rip Log..............: Exact Audio Copy 1.6, Secure, "
                         "AccurateRip 3/3, CRCs differ on track 3\r\n"))
      << print.out.toStdString();
  EXPECT_TRUE(print.out.contains("Dynamic Range........: DR")) << print.out.toStdString();
  EXPECT_TRUE(print.out.contains("Included.............: NFO, SFV, LOG, CUE, DR\r\n"))
      << print.out.toStdString();
  // Without the option the NFO keeps its layout.
  EXPECT_FALSE(
      RunCli(program_.Path(), {QStringLiteral("--print"), Album()}).out.contains("Rip Log"));
}

// --verify checks every list of the folder: a changed byte and a missing file make exit 5.
TEST_F(CliTest, VerifyNamesEveryFileAndFailsOnAChangeOrAGap) {
  album_.Write(QStringLiteral("a.mp3"), TaggedTrack("Band", "A"));
  album_.Write(QStringLiteral("b.mp3"), TaggedTrack("Band", "B"));
  ASSERT_EQ(RunCli(program_.Path(), {QStringLiteral("--utf8"), Album()}).exitCode, 0);
  const CliRun clean = RunCli(program_.Path(), {QStringLiteral("--verify"), Album()});
  EXPECT_EQ(clean.exitCode, 0) << clean.err.toStdString();
  EXPECT_EQ(clean.out, "OK  a.mp3\nOK  b.mp3\n2 files: 2 OK, 0 FAILED, 0 MISSING\n");

  album_.Write(QStringLiteral("a.mp3"), TaggedTrack("Band", "X"));
  ASSERT_TRUE(QFile::remove(album_.FilePath(QStringLiteral("b.mp3"))));
  const CliRun broken = RunCli(program_.Path(), {QStringLiteral("--verify"), Album()});
  EXPECT_EQ(broken.exitCode, 5);
  EXPECT_EQ(broken.out, "FAILED  a.mp3\nMISSING  b.mp3\n2 files: 0 OK, 1 FAILED, 1 MISSING\n");

  TempFolder empty;
  EXPECT_EQ(RunCli(program_.Path(), {QStringLiteral("--verify"), empty.Path()}).exitCode, 1);
}

// Folder to NFO for each format beyond the first four, on tiny files made by the real encoders
// (tests/data/readers): the codec, version, quality, channels and tag lines and a track line.
TEST_F(CliTest, EachNewFormatGivesItsNfo) {
  struct Case {
    const char* file;
    QList<QByteArray> lines;
  };
  const QList<Case> cases = {
      {"opus-tagged.opus",
       {"Version..............: Ogg Opus\r\n", "Quality..............: Lossy, (avg. bitrate: ",
        "Channels.............: Stereo / 44100 hz\r\n", "Tags.................: VorbisComment\r\n",
        "Codec................: libopus "}},
      {"vorbis-tagged.ogg",
       {"Version..............: Ogg Vorbis\r\n", "Codec................: Xiph.Org libVorbis I",
        "Channels.............: Mono / 22050 hz\r\n", "   1. Test Artist - Vorbis Title"}},
      {"aac-lc.m4a",
       {"Version..............: MPEG-4 AAC LC\r\n", "Tags.................: MP4\r\n",
        "Quality..............: Lossy, (avg. bitrate: ", "   1. Test Artist - AAC Title"}},
      {"alac.m4a",
       {"Version..............: MPEG-4 ALAC\r\n",
        "Codec................: Apple Lossless Audio Codec (ALAC)\r\n",
        "Quality..............: Lossless, (avg. compression: ",
        "Channels.............: Mono / 8000 HZ / 16 Bit\r\n"}},
      {"wavpack-16.wv",
       {"Version..............: WavPack 5.0\r\n", "Codec................: WavPack (WV)\r\n",
        "Quality..............: Lossless, (avg. compression: ",
        "Channels.............: Stereo / 44100 HZ / 16 Bit\r\n"}},
      {"wavpack-hybrid.wv",
       {"Quality..............: Lossy (hybrid), (avg. bitrate: ",
        "Codec................: WavPack (WV)\r\n"}},
      {"mpc-sv8-apetag.mpc",
       {"Version..............: MP+ v8\r\n", "Codec................: MusePack (MPC)\r\n",
        "Channels.............: Joint Stereo / 44100 hz\r\n", "   1. Test Artist - MPC Title"}},
  };
  for (const Case& c : cases) {
    TempFolder album;
    QFile source(TestDataPath(QStringLiteral("readers/") + QLatin1String(c.file)));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << c.file;
    album.Write(QLatin1String(c.file), source.readAll());
    const CliRun run = RunCli(program_.Path(),
                              {QStringLiteral("--print"), QStringLiteral("--utf8"),
                               QStringLiteral("--checksum"), QStringLiteral("none"), album.Path()});
    ASSERT_EQ(run.exitCode, 0) << c.file << run.err.toStdString();
    for (const QByteArray& line : c.lines)
      EXPECT_TRUE(run.out.contains(line)) << c.file << ": " << line.toStdString() << "\n"
                                          << run.out.toStdString();
    // Every track line ends with the duration of the one-second fixtures.
    EXPECT_TRUE(run.out.contains("[00:01]\r\n")) << c.file;
  }
}
