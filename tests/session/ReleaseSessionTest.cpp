#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/FileError.h"
#include "platform/UserLocale.h"
#include "session/ReleaseSession.h"
#include "support/GoldenAlbum.h"

using namespace std::chrono_literals;

namespace {

class ReleaseSessionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  // Drives a run the way the window's event loop does: it sleeps until a worker's notification
  // says a checksum is ready, then takes what is ready without waiting.
  static void DriveLikeAnEventLoop(AnalysisRun& run, std::atomic<int>& notified) {
    int seen = 0;
    while (run.Running()) {
      if (run.CurrentPhase() == AnalysisRun::Phase::Hashing) {
        while (notified == seen)
          std::this_thread::sleep_for(1ms);
        seen = notified;
      }
      run.Advance(5ms);
    }
  }

  // A folder of small tracks with one huge sparse file in the middle: hashing all of it would
  // take far longer than any test may run, so the pass is certain to be busy with it. Musepack,
  // whose reader looks at the header only, keeps the track pass short.
  static void AlbumWithAHugeTrack(const TempFolder& album) {
    album.Write(QStringLiteral("1.mpc"), QByteArray("123456789"));
    album.Write(QStringLiteral("2.mpc"), QByteArray("abc"));
    QFile huge(album.FilePath(QStringLiteral("3.mpc")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(256) << 30));
    album.Write(QStringLiteral("4.mpc"), QByteArray("def"));
  }

  static void OpenWithChecksums(ReleaseSession& session, const TempFolder& program) {
    session.Open(program.Path());
    session.LoadSettings([](ReleaseModel& model) {
      model.Opts.AutoCrc = true;
      model.Opts.ChecksumKind = QStringLiteral("SFV");
    });
  }
};

}  // namespace

TEST_F(ReleaseSessionTest, OpenReadsStartupValuesListsNoteThenSettingsAndLanguage) {
  TempFolder program;
  program.Write(QStringLiteral("nfo.ini"),
                "[Velmora]\r\ndefaultpath=/music/\r\nwidth=800\r\nheight=600\r\nautocrc=0\r\n"
                "checkupdate=0\r\nlanguage=english.lng\r\nrippedby=Ja\r\n");
  program.Write(QStringLiteral("groups.ini"), "a.b\r\nc.d\r\ne.f\r\n");
  program.Write(QStringLiteral("note.txt"), "first line\r\nsecond line\r\n");
  program.Write(QStringLiteral("lang/english.lng"),
                "[TEXTS]\r\n9001=Not saved\r\n[LABELS]\r\n6028=Your note\r\n");
  ReleaseSession session;
  const StartupSettings& startup = session.Open(program.Path(), GoldenAlbum::Now());
  EXPECT_EQ(startup.DefaultPath, QStringLiteral("/music/"));
  EXPECT_EQ(startup.Width, 800);
  EXPECT_EQ(startup.Height, 600);
  EXPECT_FALSE(startup.CheckUpdate);
  const ReleaseModel& model = session.Model();
  EXPECT_EQ(model.Run.DefaultPath, QStringLiteral("/music/"));
  EXPECT_EQ(model.Lists.Groups,
            (QStringList{QStringLiteral("a.b"), QStringLiteral("c.d"), QStringLiteral("e.f")}));
  EXPECT_EQ(model.Info.NoteText, QStringLiteral("first line\nsecond line"));
  EXPECT_EQ(model.Info.RippedBy, QStringLiteral("Korvix"));  // the form's own, until the settings
  EXPECT_FALSE(model.Run.StartTimeText.isEmpty());

  session.LoadSettings();
  EXPECT_EQ(model.Info.RippedBy, QStringLiteral("Ja"));
  EXPECT_TRUE(model.Info.PostedBy.isEmpty());  // a missing text key empties the field
  EXPECT_FALSE(model.Info.IncludeChecksums);   // follows autocrc
  EXPECT_EQ(model.Info.NoteText, QStringLiteral("Your note\nsecond line"));
  EXPECT_EQ(model.StatusText, QStringLiteral("Not saved"));
  EXPECT_EQ(session.Language().Text("TEXTS", "9001"), QStringLiteral("Not saved"));

  // A program folder without any file: every default, nothing fails.
  TempFolder empty;
  ReleaseSession bare;
  EXPECT_EQ(bare.Open(empty.Path()).Width, kDefaultWindowWidth);
  bare.LoadSettings();
  EXPECT_TRUE(bare.Model().Info.IncludeChecksums);
  EXPECT_TRUE(bare.Model().StatusText.isEmpty());  // the language folder itself: empty texts
  EXPECT_EQ(bare.Model().Info.NoteText, QString());
}

// The window's road through the session, with the checksum pass taken from an event loop, ends
// in the very bytes that velmora-cli writes for the same inputs (the golden files).
TEST_F(ReleaseSessionTest, EventDrivenRunSavesExactlyWhatTheCommandLineSaves) {
  UserLocale::SetSystem(QLocale(QLocale::Polish, QLocale::Poland));
  GoldenAlbum release;
  ReleaseSession session;
  session.Open(release.program.Path(), GoldenAlbum::Now());
  session.LoadSettings(
      [](ReleaseModel& model) {
        model.Opts.AutoCrc = true;
        model.Opts.ChecksumKind = QStringLiteral("SFV");
        model.Opts.SaveUnicode = false;
        model.Opts.Ads = true;
      },
      false);
  EXPECT_FALSE(session.Scan(release.album.Path()).has_value());

  std::atomic<int> notified = 0;
  const std::unique_ptr<AnalysisRun> run =
      session.StartAnalysis(GoldenAlbum::Now().date(), [&notified] { ++notified; });
  DriveLikeAnEventLoop(*run, notified);
  ASSERT_EQ(run->CurrentPhase(), AnalysisRun::Phase::Finished);
  ReleaseModel& model = session.Model();
  EXPECT_TRUE(model.Run.AnalysisDone);
  EXPECT_TRUE(model.Progress.FileLabel.isEmpty());
  EXPECT_EQ(model.Progress.Percent, 100);

  model.Info.RipDate = GoldenAlbum::RipDate();
  model.Info.IncludePls = model.Info.IncludeM3u = true;
  model.Info.SelectedGroups = {QStringLiteral("alt.binaries.pl.mp3"),
                               QStringLiteral("alt.binaries.sounds.mp3"),
                               QStringLiteral("pl.test")};
  model.Info.CoverFront = model.Info.CoverCd = model.Info.IncludeCue = true;
  const SaveResult saved = session.SaveCommand();
  ASSERT_EQ(saved.Outcome, SaveOutcome::Saved);
  EXPECT_EQ(saved.WrittenFiles.size(), 4);
  const QString base = GoldenAlbum::EightBitBaseName();
  for (const char* extension : {"nfo", "sfv", "pls", "m3u"}) {
    const QString suffix = QString::fromLatin1(extension);
    EXPECT_EQ(release.album.Read(base + QLatin1Char('.') + suffix),
              GoldenAlbum::Golden(QStringLiteral("eight-bit/release.") + suffix))
        << extension;
  }
}

TEST_F(ReleaseSessionTest, StoppedPassKeepsTheTakenRowsAndEndsPromptlyMidFile) {
  TempFolder program, album;
  AlbumWithAHugeTrack(album);
  ReleaseSession session;
  OpenWithChecksums(session, program);
  session.Scan(album.Path());
  std::unique_ptr<AnalysisRun> run = session.StartAnalysis();
  while (run->CurrentPhase() == AnalysisRun::Phase::ReadingTracks)
    run->Advance(5ms);
  int taken = 0;
  while (taken < 2)
    taken += static_cast<int>(run->Advance(0ms, true).size());
  EXPECT_EQ(taken, 2);  // the third file cannot be finished in any time a test runs

  run->Stop();
  EXPECT_TRUE(run->Advance(0ms, true).empty());
  EXPECT_EQ(run->CurrentPhase(), AnalysisRun::Phase::Stopped);
  const ReleaseModel& model = session.Model();
  EXPECT_FALSE(model.Run.AnalysisDone);
  EXPECT_EQ(model.Tracks[0].ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(model.Tracks[1].ChecksumText, QStringLiteral("352441C2"));
  EXPECT_EQ(model.Tracks[2].ChecksumText, QStringLiteral(" "));
  EXPECT_EQ(model.Tracks[3].ChecksumText, QStringLiteral(" "));
  EXPECT_TRUE(model.Progress.FileLabel.isEmpty());

  // A second run, dropped while a worker is inside the huge file: the workers give up within a
  // block. Reading the whole file would take minutes.
  run = session.StartAnalysis();
  while (run->CurrentPhase() == AnalysisRun::Phase::ReadingTracks)
    run->Advance(5ms);
  std::this_thread::sleep_for(50ms);
  QElapsedTimer destroying;
  destroying.start();
  run.reset();
  EXPECT_LT(destroying.elapsed(), 5000);
  EXPECT_FALSE(session.Model().Run.AnalysisDone);
}

TEST_F(ReleaseSessionTest, FileMissingMidPassFailsTheRunAfterTheRowsBeforeIt) {
  TempFolder program, album;
  album.Write(QStringLiteral("1.mpc"), QByteArray("123456789"));
  album.Write(QStringLiteral("2.mpc"), QByteArray("abc"));
  album.Write(QStringLiteral("3.mpc"), QByteArray("def"));
  ReleaseSession session;
  OpenWithChecksums(session, program);
  session.Scan(album.Path());
  // Gone after the scan: the readers pass over it silently, the checksum pass cannot.
  const QString missing = album.FilePath(QStringLiteral("2.mpc"));
  ASSERT_TRUE(QFile::remove(missing));
  const std::unique_ptr<AnalysisRun> run = session.StartAnalysis();
  QString message;
  try {
    while (run->Running())
      run->Advance(5ms, true);
  } catch (const FileError& error) {
    message = error.Message();
  }
  EXPECT_EQ(run->CurrentPhase(), AnalysisRun::Phase::Failed);
  EXPECT_EQ(message, QStringLiteral("Cannot open file ") + missing);
  const ReleaseModel& model = session.Model();
  EXPECT_EQ(model.Tracks[0].ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(model.Tracks[2].ChecksumText, QStringLiteral(" "));
  EXPECT_EQ(model.Progress.FileLabel, QStringLiteral("1.mpc"));
  EXPECT_FALSE(model.Run.AnalysisDone);
}

TEST_F(ReleaseSessionTest, EightBitNamesKeepAFolderOutsideTheCodePage) {
  TempFolder program, root;
  const QString folder = root.FilePath(QStringLiteral("音楽/album"));
  ASSERT_TRUE(QDir().mkpath(folder));
  QFile track(folder + QStringLiteral("/01 Łódź.mp3"));
  ASSERT_TRUE(track.open(QIODevice::WriteOnly) && track.write("not audio") > 0);
  track.close();
  ReleaseSession session;
  session.Open(program.Path());
  session.LoadSettings([](ReleaseModel& model) {
    model.Opts.AutoCrc = false;
    model.Opts.SaveUnicode = false;
    model.Info.FileNameTemplate = QStringLiteral("Łódź 日");
  });
  session.Scan(folder);
  session.Analyse();
  session.Model().Info.IncludePls = true;
  const SaveResult saved = session.SaveCommand();
  ASSERT_EQ(saved.Outcome, SaveOutcome::Saved);
  // Code page 1252: the base name loses what it cannot hold, the folder keeps its real name.
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/?ód? ?.nfo")));
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/?ód? ?.pls")));
}

TEST_F(ReleaseSessionTest, CloseWritesSettingsAndNoteEvenWhenOneFails) {
  TempFolder program;
  ReleaseSession session;
  session.Open(program.Path());
  session.LoadSettings();
  session.Model().Info.RippedBy = QStringLiteral("Jörg");
  session.Model().Info.NoteText = QStringLiteral("note");
  ASSERT_TRUE(QDir(program.Path()).mkdir(QStringLiteral("nfo.ini")));  // blocks the settings
  EXPECT_THROW(session.Close(), FileError);
  EXPECT_TRUE(program.Read(QStringLiteral("note.txt")).startsWith("\xFF\xFE"));

  ASSERT_TRUE(QDir(program.Path()).rmdir(QStringLiteral("nfo.ini")));
  session.Close();
  ReleaseSession again;
  again.Open(program.Path());
  again.LoadSettings({}, false);  // a language would replace the note's first line
  EXPECT_EQ(again.Model().Info.RippedBy, QStringLiteral("Jörg"));
  EXPECT_EQ(again.Model().Info.NoteText, QStringLiteral("note"));
}
