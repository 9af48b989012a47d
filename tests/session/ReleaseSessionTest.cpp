#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/FileAccessHook.h"
#include "platform/FileError.h"
#include "platform/UserLocale.h"
#include "session/ReleaseSession.h"
#include "support/GoldenAlbum.h"

using namespace std::chrono_literals;

namespace {

class ReleaseSessionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetFileAccessHook({});
    UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
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

  static void OpenWithChecksums(ReleaseSession& session, const TempFolder& program,
                                const QString& kind = QStringLiteral("SFV")) {
    session.Open(program.Path());
    session.LoadSettings([kind](Options& options, ReleaseInfo&) {
      options.AutoCrc = true;
      options.SetChecksumKindText(kind);
    });
  }
};

// Blocks every read of one file until released: a network share that stopped answering.
class StalledFile {
 public:
  explicit StalledFile(const QString& path) {
    SetFileAccessHook([this, path](const QString& accessed, FileAccess) {
      if (accessed != path)
        return;
      std::unique_lock lock(mutex_);
      reached_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return released_; });
    });
  }
  ~StalledFile() {
    Release();
    SetFileAccessHook({});
  }
  bool WaitUntilReached() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 10s, [this] { return reached_; });
  }
  void Release() {
    const std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool reached_ = false;
  bool released_ = false;
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
  const Release& model = session.State();
  EXPECT_EQ(model.Run.DefaultPath, QStringLiteral("/music/"));
  EXPECT_EQ(session.Lists().Groups,
            (QStringList{QStringLiteral("a.b"), QStringLiteral("c.d"), QStringLiteral("e.f")}));
  EXPECT_EQ(model.Info.NoteText, QStringLiteral("first line\nsecond line"));
  EXPECT_EQ(model.Info.RippedBy, QStringLiteral("Korvix"));  // the form's own, until the settings
  EXPECT_FALSE(model.Run.StartTimeText.isEmpty());

  QSignalSpy status(&session, &ReleaseSession::StatusChanged);
  session.LoadSettings();
  EXPECT_EQ(model.Info.RippedBy, QStringLiteral("Ja"));
  EXPECT_TRUE(model.Info.PostedBy.isEmpty());  // a missing text key empties the field
  EXPECT_FALSE(model.Info.IncludeChecksums);   // follows autocrc
  EXPECT_EQ(model.Info.NoteText, QStringLiteral("Your note\nsecond line"));
  EXPECT_EQ(session.StatusText(), QStringLiteral("Not saved"));
  ASSERT_EQ(status.size(), 1);
  EXPECT_EQ(status[0][0].toString(), QStringLiteral("Not saved"));
  EXPECT_EQ(session.LanguageText("TEXTS", "9001"), QStringLiteral("Not saved"));

  // A program folder without any file: every default, nothing fails.
  TempFolder empty;
  ReleaseSession bare;
  EXPECT_EQ(bare.Open(empty.Path()).Width, kDefaultWindowWidth);
  bare.LoadSettings();
  EXPECT_TRUE(bare.State().Info.IncludeChecksums);
  EXPECT_TRUE(bare.StatusText().isEmpty());  // the language folder itself: empty texts
  EXPECT_EQ(bare.State().Info.NoteText, QString());
}

// The window's road through the session: the passes run on workers, every result reaches the
// session's thread through the event loop as a signal, in track order, and the files saved at
// the end are the very bytes that velmora-cli writes for the same inputs (the golden files).
TEST_F(ReleaseSessionTest, SignalledRunSavesExactlyWhatTheCommandLineSaves) {
  UserLocale::SetSystem(QLocale(QLocale::Polish, QLocale::Poland));
  GoldenAlbum release;
  ReleaseSession session;
  session.Open(release.program.Path(), GoldenAlbum::Now());
  session.LoadSettings(
      [](Options& options, ReleaseInfo&) {
        options.AutoCrc = true;
        options.SetChecksumKindText(QStringLiteral("SFV"));
        options.SaveUnicode = false;
        options.Ads = true;
      },
      false);
  QSignalSpy scanned(&session, &ReleaseSession::Scanned);
  EXPECT_FALSE(session.Scan(release.album.Path()).Mixed.has_value());
  EXPECT_EQ(scanned.size(), 1);

  QSignalSpy tracksRead(&session, &ReleaseSession::TrackRead);
  QSignalSpy checksums(&session, &ReleaseSession::ChecksumTaken);
  QSignalSpy finished(&session, &ReleaseSession::AnalysisFinished);
  ASSERT_TRUE(session.Analyse(GoldenAlbum::Now().date()));
  EXPECT_TRUE(session.Busy());
  EXPECT_FALSE(session.Analyse());  // one run at a time
  EXPECT_EQ(session.WaitForAnalysis(), AnalysisOutcome::Finished);
  EXPECT_FALSE(session.Busy());
  ASSERT_EQ(finished.size(), 1);
  QList<int> rows, hashed;
  for (const QList<QVariant>& signal : tracksRead)
    rows << signal[0].toInt();
  for (const QList<QVariant>& signal : checksums)
    hashed << signal[0].toInt();
  EXPECT_EQ(rows, (QList<int>{0, 1, 2}));
  EXPECT_EQ(hashed, (QList<int>{0, 1, 2}));
  EXPECT_TRUE(session.State().Run.AnalysisDone);
  EXPECT_TRUE(session.CurrentProgress().FileLabel.isEmpty());
  EXPECT_EQ(session.CurrentProgress().Percent, 100);

  session.SetInfo(&ReleaseInfo::RipDate, GoldenAlbum::RipDate());
  session.SetInfo(&ReleaseInfo::IncludePls, true);
  session.SetInfo(&ReleaseInfo::IncludeM3u, true);
  session.SetInfo(
      &ReleaseInfo::SelectedGroups,
      QStringList{QStringLiteral("alt.binaries.pl.mp3"), QStringLiteral("alt.binaries.sounds.mp3"),
                  QStringLiteral("pl.test")});
  for (bool ReleaseInfo::*field :
       {&ReleaseInfo::CoverFront, &ReleaseInfo::CoverCd, &ReleaseInfo::IncludeCue}) {
    session.SetInfo(field, true);
  }
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
  auto session = std::make_unique<ReleaseSession>();
  OpenWithChecksums(*session, program);
  session->Scan(album.Path());
  QSignalSpy checksums(session.get(), &ReleaseSession::ChecksumTaken);
  ASSERT_TRUE(session->Analyse());
  // The third file cannot be finished in any time a test runs.
  ASSERT_TRUE(QTest::qWaitFor([&] { return checksums.size() == 2; }, 10000));
  session->Stop();
  EXPECT_EQ(session->WaitForAnalysis(), AnalysisOutcome::Stopped);
  const Release& model = session->State();
  EXPECT_FALSE(model.Run.AnalysisDone);
  EXPECT_EQ(model.Tracks[0].ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(model.Tracks[1].ChecksumText, QStringLiteral("352441C2"));
  EXPECT_EQ(model.Tracks[2].ChecksumText, QStringLiteral(" "));
  EXPECT_EQ(model.Tracks[3].ChecksumText, QStringLiteral(" "));
  EXPECT_TRUE(session->CurrentProgress().FileLabel.isEmpty());

  // A second run, dropped with the session while a worker is inside the huge file: the workers
  // give up within a block. Reading the whole file would take minutes.
  ASSERT_TRUE(session->Analyse());
  ASSERT_TRUE(QTest::qWaitFor([&] { return checksums.size() == 4; }, 10000));
  std::this_thread::sleep_for(50ms);
  QElapsedTimer destroying;
  destroying.start();
  session.reset();
  EXPECT_LT(destroying.elapsed(), 5000);
}

TEST_F(ReleaseSessionTest, FileMissingMidPassFailsTheRunWithItsReason) {
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
  QSignalSpy failed(&session, &ReleaseSession::Failed);
  session.Analyse();
  EXPECT_EQ(session.WaitForAnalysis(), AnalysisOutcome::Failed);
  ASSERT_EQ(failed.size(), 1);
  EXPECT_EQ(failed[0][0].toString(), QStringLiteral("Cannot open file ") + missing +
                                         QStringLiteral(": ") + SystemErrorText(ENOENT));
  const Release& model = session.State();
  EXPECT_EQ(model.Tracks[0].ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(model.Tracks[2].ChecksumText, QStringLiteral(" "));
  EXPECT_EQ(session.CurrentProgress().FileLabel, QStringLiteral("1.mpc"));
  EXPECT_FALSE(model.Run.AnalysisDone);
}

// A share that stops answering in the middle of a file holds up a worker, never the session's
// thread: the event loop goes on, the rows before the file arrive, and stopping ends the run as
// soon as the file lets go.
TEST_F(ReleaseSessionTest, StalledFileKeepsTheEventLoopAnsweringAndStopEndsTheRun) {
  TempFolder program, album;
  for (const char* name : {"1.mpc", "2.mpc", "3.mpc"})
    album.Write(QString::fromLatin1(name), QByteArray("MP+") + QByteArray(40, '\x07'));
  ReleaseSession session;
  session.Open(program.Path());
  session.LoadSettings();
  session.Scan(album.Path());
  StalledFile stalled(album.FilePath(QStringLiteral("2.mpc")));
  QSignalSpy tracksRead(&session, &ReleaseSession::TrackRead);
  ASSERT_TRUE(session.Analyse());
  ASSERT_TRUE(stalled.WaitUntilReached());

  int ticks = 0;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&ticks] { ++ticks; });
  probe.start(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return tracksRead.size() == 1; }, 5000));
  QEventLoop loop;
  QTimer::singleShot(200, &loop, &QEventLoop::quit);
  ticks = 0;
  loop.exec();
  EXPECT_GT(ticks, 50);  // the loop kept answering while the file was held
  EXPECT_TRUE(session.Busy());

  session.Stop();
  stalled.Release();
  EXPECT_EQ(session.WaitForAnalysis(), AnalysisOutcome::Stopped);
  EXPECT_FALSE(session.State().Run.AnalysisDone);
}

// Closing during the track pass on a slow share ends the pass within about one file's delay,
// leaves the rest unread, and still writes the settings.
TEST_F(ReleaseSessionTest, ClosingDuringTheTrackPassEndsIt) {
  TempFolder program, album;
  for (int i = 1; i <= 40; ++i)
    album.Write(QStringLiteral("%1.mpc").arg(i, 2, 10, QLatin1Char('0')),
                QByteArray("MP+") + QByteArray(40, '\x07'));
  ReleaseSession session;
  session.Open(program.Path());
  session.LoadSettings();
  session.Scan(album.Path());
  // Every open and read of the album takes 100 ms.
  const QString albumPath = album.Path();
  SetFileAccessHook([albumPath](const QString& path, FileAccess) {
    if (path.startsWith(albumPath))
      std::this_thread::sleep_for(100ms);
  });
  QSignalSpy tracksRead(&session, &ReleaseSession::TrackRead);
  ASSERT_TRUE(session.Analyse());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !tracksRead.isEmpty(); }, 10000));

  QElapsedTimer closing;
  closing.start();
  session.Close();
  EXPECT_LT(closing.elapsed(), 1000);
  EXPECT_FALSE(session.Busy());
  EXPECT_LT(session.State().Scan.TrackCount, 40);
  EXPECT_TRUE(QFile::exists(program.FilePath(QStringLiteral("nfo.ini"))));
}

TEST_F(ReleaseSessionTest, SavingBeforeAnyAnalysisHasNothingAndAfterOneComposesAnew) {
  TempFolder program, album;
  album.Write(QStringLiteral("1.mpc"), QByteArray("MP+") + QByteArray(40, '\x07'));
  program.Write(QStringLiteral("lang/x.lng"), "[TEXTS]\r\n9005=nothing\r\n9006=caption\r\n");
  ReleaseSession session;
  session.Open(program.Path());
  session.LoadSettings();
  session.ApplyLanguage(QStringLiteral("x.lng"));
  const SaveResult nothing = session.SaveCommand();
  EXPECT_EQ(nothing.Outcome, SaveOutcome::NothingToSave);
  EXPECT_EQ(nothing.MessageText, QStringLiteral("nothing"));
  EXPECT_EQ(nothing.MessageCaption, QStringLiteral("caption"));

  session.Scan(album.Path());
  session.Analyse();
  session.WaitForAnalysis();
  session.SetNfoText(QStringLiteral("stale preview"));
  ASSERT_EQ(session.SaveCommand().Outcome, SaveOutcome::Saved);
  EXPECT_FALSE(session.State().Run.NfoComposed);
  const QStringList saved = QDir(album.Path()).entryList({QStringLiteral("*.nfo")});
  ASSERT_EQ(saved.size(), 1);
  EXPECT_TRUE(album.Read(saved[0]).startsWith(QByteArray(69, '-') + "\r\n"));
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
  session.LoadSettings([](Options& options, ReleaseInfo& info) {
    options.AutoCrc = false;
    options.SaveUnicode = false;
    info.FileNameTemplate = QStringLiteral("Łódź 日");
  });
  session.Scan(folder);
  session.Analyse();
  session.WaitForAnalysis();
  session.SetInfo(&ReleaseInfo::IncludePls, true);
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
  session.SetInfo(&ReleaseInfo::RippedBy, QStringLiteral("Jörg"));
  session.SetInfo(&ReleaseInfo::NoteText, QStringLiteral("note"));
  ASSERT_TRUE(QDir(program.Path()).mkdir(QStringLiteral("nfo.ini")));  // blocks the settings
  EXPECT_THROW(session.Close(), FileError);
  EXPECT_TRUE(program.Read(QStringLiteral("note.txt")).startsWith("\xFF\xFE"));

  ASSERT_TRUE(QDir(program.Path()).rmdir(QStringLiteral("nfo.ini")));
  session.Close();
  ReleaseSession again;
  again.Open(program.Path());
  again.LoadSettings({}, false);  // a language would replace the note's first line
  EXPECT_EQ(again.State().Info.RippedBy, QStringLiteral("Jörg"));
  EXPECT_EQ(again.State().Info.NoteText, QStringLiteral("note"));
}
