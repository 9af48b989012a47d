#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "WindowHarness.h"
#include "nfo/OutputSaving.h"
#include "platform/TextFile.h"
#include "platform/UserLocale.h"
#include "support/AudioFixtures.h"
#include "support/GoldenAlbum.h"
#include "ui/FieldBinding.h"
#include "ui/FolderPage.h"
#include "ui/LeftOutDialog.h"
#include "ui/NfoPage.h"
#include "ui/OptionsDialog.h"
#include "ui/QualityPage.h"
#include "ui/ReleasePage.h"
#include "ui/VerificationWindow.h"

namespace {

class WindowFlowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  static QByteArray RunCli(const QString& programDir, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pl_PL.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(programDir);
    process.start(QStringLiteral(VELMORA_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
  }

  // Near the left edge: a check box stretched by its layout takes clicks on its box and caption
  // only, not on the empty rest of its width.
  static void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
};

// Everything a user does for one release, in the real window: the options, the folder, the
// analysis with its checksum pass, page 3, the preview and the save. The preview holds what
// velmora-cli prints for the same inputs, and the saved files are what it saves, byte for byte.
TEST_F(WindowFlowTest, FolderToSavedFilesIsWhatTheCommandLineWrites) {
  UserLocale::SetSystem(QLocale(QLocale::Polish, QLocale::Poland));
  GoldenAlbum release;
  CopyShippedLanguages(release.program.Path());
  WindowHarness harness(release.program.Path(), [] { return GoldenAlbum::Now(); });
  MainWindow& window = harness.Window();

  window.SettingsAction()->trigger();
  OptionsDialog& options = *window.Options();
  ASSERT_TRUE(options.isVisible());
  EXPECT_FALSE(window.isEnabled());
  Control<QCheckBox>(options, "AutoCrc").setChecked(true);
  Control<QComboBox>(options, "ChecksumKind").setCurrentText(QStringLiteral("SFV"));
  Control<QCheckBox>(options, "SaveUnicode").setChecked(false);
  Control<QCheckBox>(options, "Utf8Text").setChecked(false);
  Control<QListWidget>(options, "LanguageFiles").setCurrentRow(0);  // english.lng
  Click(&Control<QPushButton>(options, "ChooseLanguage"));
  Click(&Control<QPushButton>(options, "Ok"));
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(window.SaveAction()->text(), QStringLiteral("&Save"));

  harness.ChooseFolder(release.album.Path());
  EXPECT_EQ(Control<QLineEdit>(window, "FolderPath").text(), release.album.Path());
  EXPECT_TRUE(Control(window, "NextFromFolder").isEnabled());
  ASSERT_TRUE(harness.Analyse());
  EXPECT_EQ(window.Pages()->currentIndex(), 1);
  EXPECT_TRUE(window.Pages()->isTabVisible(window.Pages()->indexOf(window.Nfo())));

  ReleasePage& page = *window.Release();
  window.Pages()->setCurrentWidget(&page);
  Control<QDateEdit>(page, "RipDate").setDate(GoldenAlbum::RipDate());
  for (const char* name : {"IncludePls", "IncludeM3u", "CoverFront", "CoverCd", "IncludeCue"})
    Click(page.findChild<QCheckBox*>(QString::fromLatin1(name)));
  for (const QString& group :
       {QStringLiteral("alt.binaries.pl.mp3"), QStringLiteral("alt.binaries.sounds.mp3"),
        QStringLiteral("pl.test")}) {
    Control<QComboBox>(page, "Group").setEditText(group);
    Click(&Control<QPushButton>(page, "AddGroup"));
  }

  const QString preview = harness.ShowNfoPage();
  const QStringList sameInputs = {
      QStringLiteral("--now"),
      GoldenAlbum::Now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
      QStringLiteral("--language"),
      QStringLiteral("english.lng"),
      QStringLiteral("--set"),
      QStringLiteral("RipDate=2024-05-16"),
      QStringLiteral("--set"),
      QStringLiteral("IncludePls=1"),
      QStringLiteral("--set"),
      QStringLiteral("IncludeM3u=1"),
      QStringLiteral("--set"),
      QStringLiteral("CoverFront=1"),
      QStringLiteral("--set"),
      QStringLiteral("CoverCd=1"),
      QStringLiteral("--set"),
      QStringLiteral("IncludeCue=1"),
      QStringLiteral("--set"),
      QStringLiteral("SelectedGroups=alt.binaries.pl.mp3;alt.binaries.sounds.mp3;pl.test"),
      release.album.Path()};
  const QByteArray printed =
      RunCli(release.program.Path(), QStringList{QStringLiteral("--print")} + sameInputs);
  EXPECT_EQ(TextFile::Encode(NfoFileLines(preview), TextFile::Form::EightBit, CodePage(1250)),
            printed);
  EXPECT_TRUE(preview.contains(QStringLiteral("Write anything you want....")));

  Click(&Control<QPushButton>(window, "SaveNfo"));
  ASSERT_TRUE(harness.prompts.Errors.isEmpty()) << harness.prompts.Errors.join(u' ').toStdString();
  ASSERT_EQ(harness.prompts.Messages.size(), 1);
  EXPECT_EQ(harness.prompts.Messages[0].Caption, QStringLiteral("Saved"));
  EXPECT_EQ(harness.prompts.Messages[0].Shown, WindowPrompts::Icon::None);
  EXPECT_EQ(window.Status()->text(), QStringLiteral("NFO saved."));

  const QString base = GoldenAlbum::EightBitBaseName();
  QList<QByteArray> savedByWindow;
  for (const char* extension : {".nfo", ".sfv", ".pls", ".m3u"})
    savedByWindow << release.album.Read(base + QString::fromLatin1(extension));
  RunCli(release.program.Path(), sameInputs);
  int index = 0;
  for (const char* extension : {".nfo", ".sfv", ".pls", ".m3u"}) {
    EXPECT_FALSE(savedByWindow[index].isEmpty()) << extension;
    EXPECT_EQ(savedByWindow[index++], release.album.Read(base + QString::fromLatin1(extension)))
        << extension;
  }
}

TEST_F(WindowFlowTest, ClosingDuringThePassStopsItAndStillSavesSettingsAndNote) {
  TempFolder program, album;
  program.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\nautocrc=1\r\ncrc=MD5\r\n");
  album.Write(QStringLiteral("1.mpc"), QByteArray("123456789"));
  album.Write(QStringLiteral("2.mpc"), QByteArray("abc"));
  // Hashing this one whole would take minutes: the pass is busy with it when the window closes.
  QFile huge(album.FilePath(QStringLiteral("3.mpc")));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(256) << 30));
  huge.close();
  auto harness = std::make_unique<WindowHarness>(program.Path());
  MainWindow& window = harness->Window();
  harness->ChooseFolder(album.Path());
  Control<QPlainTextEdit>(window, "NoteText").setPlainText(QStringLiteral("typed while hashing"));
  QTest::mouseClick(&Control<QPushButton>(window, "NextFromFolder"), Qt::LeftButton);
  // The window keeps answering while the pass runs: the second file's checksum arrives here.
  for (int waited = 0; Control<QLabel>(window, "FileLabel").text() != QStringLiteral("2.mpc");
       ++waited) {
    ASSERT_LT(waited, 3000) << "no checksum reached the window";
    QTest::qWait(10);
  }
  EXPECT_TRUE(window.Busy());
  EXPECT_FALSE(Control(window, "Browse").isEnabled());
  EXPECT_FALSE(window.SaveAction()->isEnabled());

  QElapsedTimer closing;
  closing.start();
  EXPECT_TRUE(window.close());
  EXPECT_LT(closing.elapsed(), 5000);
  EXPECT_FALSE(window.Busy());
  EXPECT_FALSE(harness->Model().Run.AnalysisDone);
  EXPECT_EQ(harness->Model().Tracks[1].ChecksumText,
            QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
  EXPECT_TRUE(program.Read(QStringLiteral("nfo.ini")).contains("crc=MD5"));
  const QByteArray note = program.Read(QStringLiteral("note.txt"));
  EXPECT_TRUE(note.startsWith("\xFF\xFE"));
  EXPECT_TRUE(
      TextFile::Decode(note, CodePage(1252)).contains(QStringLiteral("typed while hashing")));
}

TEST_F(WindowFlowTest, SaveFailuresAndNothingToSaveAreShownAndTheWindowStaysUsable) {
  TempFolder program, album;
  CopyShippedLanguages(program.Path());
  program.Write(QStringLiteral("nfo.ini"),
                "[Velmora]\r\nautocrc=0\r\nlanguage=english.lng\r\n"
                "filenametemplate=%author% - %album%\r\n");
  album.Write(QStringLiteral("1.mp3"), fixtures::Id3v2Tag({{"TPE1", "Artist"}, {"TALB", "Album"}}) +
                                           fixtures::MpegFrames(128, 40));
  const QString nfo = QStringLiteral("Artist - Album.nfo");
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();

  window.SaveAction()->trigger();  // before any analysis
  ASSERT_EQ(harness.prompts.Messages.size(), 1);
  EXPECT_EQ(harness.prompts.Messages[0].Text,
            QStringLiteral("Nothing to save: analyse a folder first."));
  EXPECT_EQ(harness.prompts.Messages[0].Caption, QStringLiteral("Warning"));
  EXPECT_EQ(harness.prompts.Messages[0].Shown, WindowPrompts::Icon::Error);
  EXPECT_TRUE(album.Read(nfo).isEmpty());

  harness.ChooseFolder(album.Path());
  ASSERT_TRUE(harness.Analyse());
  EXPECT_TRUE(harness.ShowNfoPage().contains(QStringLiteral("Write anything you want....")));
  // Every time page 4 is shown it is composed anew from the fields as they stand.
  window.Pages()->setCurrentWidget(window.Release());
  Control<QPlainTextEdit>(window, "NoteText").setPlainText(QStringLiteral("A new note."));
  EXPECT_TRUE(harness.ShowNfoPage().contains(QStringLiteral("A new note.")));
  // A folder where the NFO must go: its creation fails whoever runs the test.
  ASSERT_TRUE(QDir(album.Path()).mkdir(nfo));
  QTest::mouseClick(&Control<QPushButton>(window, "SaveNfo"), Qt::LeftButton);
  ASSERT_EQ(harness.prompts.Errors.size(), 1);
  // The file layer's message, then the system's reason.
  EXPECT_TRUE(harness.prompts.Errors[0].startsWith(QStringLiteral("Cannot create file ") +
                                                   album.FilePath(nfo) + QStringLiteral(": ")));
  EXPECT_GT(harness.prompts.Errors[0].size(),
            (QStringLiteral("Cannot create file : ") + album.FilePath(nfo)).size());
  EXPECT_EQ(harness.prompts.Messages.size(), 1);  // no success message
  EXPECT_EQ(window.Status()->text(), QStringLiteral("NFO not saved!"));
  EXPECT_TRUE(Control(window, "SaveNfo").isEnabled());

  ASSERT_TRUE(QDir(album.Path()).rmdir(nfo));
  window.SaveAction()->trigger();
  EXPECT_EQ(harness.prompts.Messages.size(), 2);
  EXPECT_EQ(window.Status()->text(), QStringLiteral("NFO saved."));
  EXPECT_FALSE(album.Read(nfo).isEmpty());
}

}  // namespace

namespace {

// A second album in the same run starts as a new release: nothing of the first one's various
// artists, preview or saved state passes into it. What its folder leaves out is shown, and its
// unreadable track is marked.
TEST_F(WindowFlowTest, EachFolderIsANewReleaseAndNothingIsLeftOutInSilence) {
  TempFolder program, first, second;
  CopyShippedLanguages(program.Path());
  program.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\nautocrc=0\r\nlanguage=english.lng\r\n");
  first.Write(QStringLiteral("1.mp3"), fixtures::Id3v2Tag({{"TPE1", "A"}, {"TALB", "First"}}) +
                                           fixtures::MpegFrames(128, 40));
  first.Write(QStringLiteral("2.mp3"), fixtures::Id3v2Tag({{"TPE1", "B"}, {"TALB", "First"}}) +
                                           fixtures::MpegFrames(128, 40));
  second.Write(QStringLiteral("1.mp3"), fixtures::Id3v2Tag({{"TPE1", "C"}, {"TALB", "Second"}}) +
                                            fixtures::MpegFrames(128, 40));
  second.Write(QStringLiteral("2.mp3"), QByteArray());
  second.Write(QStringLiteral("bonus.wav"), QByteArray("RIFF"));
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();

  harness.ChooseFolder(first.Path());
  ASSERT_TRUE(harness.Analyse());
  EXPECT_TRUE(Control<QCheckBox>(window, "VariousArtists").isChecked());
  EXPECT_TRUE(harness.ShowNfoPage().contains(QStringLiteral("VA - First")));

  harness.ChooseFolder(second.Path());
  EXPECT_FALSE(Control<QCheckBox>(window, "VariousArtists").isChecked());
  EXPECT_TRUE(Control<QLineEdit>(window, "VariousAlbumTitle").text().isEmpty());
  EXPECT_FALSE(window.Pages()->isTabVisible(window.Pages()->indexOf(window.Nfo())));
  EXPECT_TRUE(Control<QPlainTextEdit>(window, "NfoText").toPlainText().isEmpty());
  EXPECT_EQ(window.Status()->text(), QStringLiteral("NFO not saved!"));
  EXPECT_FALSE(harness.Model().Run.AnalysisDone);

  LeftOutDialog& leftOut = *window.LeftOut();
  ASSERT_TRUE(leftOut.isVisible());
  EXPECT_FALSE(window.isEnabled());
  const QListWidget& files = Control<QListWidget>(leftOut, "Files");
  ASSERT_EQ(files.count(), 1);
  EXPECT_EQ(files.item(0)->text(), QStringLiteral("bonus.wav — an audio format that is not read"));
  Click(&Control<QPushButton>(leftOut, "Ok"));
  EXPECT_TRUE(window.isEnabled());

  ASSERT_TRUE(harness.Analyse());
  EXPECT_TRUE(harness.ShowNfoPage().contains(QStringLiteral("Second")));
  EXPECT_EQ(Control<QLabel>(window, "UnreadableTracks").text(),
            QStringLiteral("Tracks not read: 1"));
  const QAbstractItemModel& tracks = *Control<QTableView>(window, "Tracks").model();
  EXPECT_TRUE(tracks.index(0, 0).data(Qt::ToolTipRole).isNull());
  EXPECT_EQ(tracks.index(1, 0).data(Qt::ToolTipRole).toString(),
            QStringLiteral("The stream of this file could not be read"));
  EXPECT_FALSE(tracks.index(1, 0).data(Qt::DecorationRole).isNull());
}

// With the audio pass on, the quality page appears after the analysis with a row per track and
// the album's, shows the picture of the track picked, writes every picture off the window's
// thread, and goes away with the next release.
TEST_F(WindowFlowTest, QualityPageShowsTheAudioPassAndSavesEveryPicture) {
  TempFolder program, album, pictures, other;
  CopyShippedLanguages(program.Path());
  program.Write(QStringLiteral("nfo.ini"),
                "[Velmora]\r\nautocrc=0\r\nlanguage=english.lng\r\naudiopass=1\r\n");
  for (const int n : {1, 2}) {
    ASSERT_TRUE(WriteSineWithFfmpeg(album.FilePath(QStringLiteral("0%1.flac").arg(n)), 500 * n, 3))
        << "ffmpeg is missing";
  }
  other.Write(QStringLiteral("1.mp3"), fixtures::MpegFrames(128, 40));
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();
  QTabWidget& pages = *window.Pages();
  const int qualityTab = pages.indexOf(window.Quality());
  EXPECT_FALSE(pages.isTabVisible(qualityTab));

  harness.ChooseFolder(album.Path());
  ASSERT_TRUE(harness.Analyse());
  ASSERT_TRUE(pages.isTabVisible(qualityTab));
  EXPECT_EQ(pages.tabText(qualityTab), QStringLiteral("Quality"));
  QTableView& table = Control<QTableView>(window, "Quality");
  const QAbstractItemModel& figures = *table.model();
  ASSERT_EQ(figures.rowCount(), 3);
  EXPECT_EQ(figures.index(2, 0).data().toString(), QStringLiteral("Album"));
  EXPECT_TRUE(figures.index(0, 4).data().toString().endsWith(QStringLiteral(" LUFS")));

  table.selectRow(1);
  EXPECT_EQ(window.Quality()->Spectrogram().width(), 1000);

  harness.prompts.FolderToChoose = pictures.Path();
  QSignalSpy saved(&window, &MainWindow::SpectrogramsSaved);
  Control<QPushButton>(window, "SaveSpectrograms").click();
  ASSERT_TRUE(saved.wait(30000));
  EXPECT_TRUE(QFile::exists(pictures.FilePath(QStringLiteral("01.flac.png"))));
  EXPECT_TRUE(QFile::exists(pictures.FilePath(QStringLiteral("02.flac.png"))));
  ASSERT_FALSE(harness.prompts.Messages.isEmpty());
  EXPECT_EQ(harness.prompts.Messages.last().Text, QStringLiteral("Spectrograms saved: 2"));

  harness.ChooseFolder(other.Path());
  EXPECT_FALSE(pages.isTabVisible(qualityTab));
}

// What lies beside the audio shows on page 1 and ticks page 3's boxes; the folder's lists are
// checked from the File menu off the window's thread, every file's result in a window of its own.
TEST_F(WindowFlowTest, ExtrasShowAndTheListsAreVerifiedFromTheMenu) {
  TempFolder program, album;
  CopyShippedLanguages(program.Path());
  program.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\nautocrc=0\r\nlanguage=english.lng\r\n");
  album.Write(QStringLiteral("a.mp3"), fixtures::MpegFrames(128, 40));
  album.Write(QStringLiteral("b.mp3"), fixtures::MpegFrames(160, 40));
  album.Write(QStringLiteral("cover.jpg"), "jpeg");
  album.Write(QStringLiteral("old.sfv"), "a.mp3 00000000\r\nb.mp3 00000000\r\nc.mp3 00000000\r\n");
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();

  harness.ChooseFolder(album.Path());
  const QPlainTextEdit& extras = Control<QPlainTextEdit>(window, "Extras");
  EXPECT_FALSE(extras.isHidden());
  EXPECT_TRUE(extras.toPlainText().contains(QStringLiteral("Covers: cover.jpg")));
  EXPECT_TRUE(extras.toPlainText().contains(QStringLiteral("Checksum lists: old.sfv")));
  ASSERT_TRUE(harness.Analyse());
  EXPECT_TRUE(Control<QCheckBox>(window, "CoverFront").isChecked());
  EXPECT_FALSE(Control<QCheckBox>(window, "CoverBack").isChecked());

  QSignalSpy ended(&window, &MainWindow::VerificationEnded);
  window.VerifyAction()->trigger();
  ASSERT_TRUE(ended.wait(30000));
  ASSERT_TRUE(window.Verification()->isVisible());
  EXPECT_FALSE(window.isEnabled());
  const QListWidget& lines = Control<QListWidget>(*window.Verification(), "Lines");
  ASSERT_EQ(lines.count(), 4);
  EXPECT_EQ(lines.item(0)->text(), QStringLiteral("FAILED  a.mp3"));
  EXPECT_EQ(lines.item(2)->text(), QStringLiteral("MISSING  c.mp3"));
  EXPECT_EQ(lines.item(3)->text(), QStringLiteral("3 files: 0 OK, 2 FAILED, 1 MISSING"));
  Control<QPushButton>(*window.Verification(), "Ok").click();
  EXPECT_TRUE(window.isEnabled());
}

}  // namespace
