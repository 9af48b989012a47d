#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "WindowHarness.h"
#include "platform/IniFile.h"
#include "support/TestSupport.h"
#include "ui/DiffFilesDialog.h"
#include "ui/FolderPage.h"
#include "ui/ReleasePage.h"
#include "ui/TracksPage.h"

namespace {

// Near the left edge: a check box stretched by its layout takes clicks on its box and caption
// only, not on the empty rest of its width.
void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i)
    items << list->item(i)->text();
  return items;
}

}  // namespace

TEST(WindowRulesTest, ControlsFollowEachOtherAsTheUserChangesThem) {
  TempFolder program;
  WindowHarness harness(program.Path());
  ReleasePage& page = *harness.Window().Release();
  TracksPage& tracks = *harness.Window().Tracks();
  QTabWidget& pages = *harness.Window().Pages();
  pages.setCurrentWidget(&page);

  page.PostedBy->setText(QStringLiteral("other"));
  QTest::keyClicks(page.RippedBy, QStringLiteral("Ja"));
  EXPECT_EQ(page.PostedBy->text(), page.RippedBy->text());
  QTest::keyClicks(page.PostedBy, QStringLiteral("X"));
  EXPECT_NE(page.RippedBy->text(), page.PostedBy->text());

  Click(page.IncludePar);
  Click(page.IncludePar2);
  EXPECT_FALSE(page.IncludePar->isChecked());
  EXPECT_TRUE(page.IncludePar2->isChecked());
  Click(page.IncludePar2);
  EXPECT_FALSE(page.IncludePar->isChecked() || page.IncludePar2->isChecked());

  page.Group->setEditText(QStringLiteral("alt.test"));
  Click(page.AddGroup);
  Click(page.AddGroup);
  page.Group->setEditText(QStringLiteral("ALT.test"));
  Click(page.AddGroup);
  EXPECT_EQ(Items(page.SelectedGroups),
            (QStringList{QStringLiteral("alt.test"), QStringLiteral("ALT.test")}));
  page.SelectedGroups->clearSelection();
  Click(page.RemoveGroup);
  EXPECT_EQ(page.SelectedGroups->count(), 2);
  page.SelectedGroups->item(0)->setSelected(true);
  Click(page.RemoveGroup);
  EXPECT_EQ(Items(page.SelectedGroups), QStringList{QStringLiteral("ALT.test")});

  Click(page.IncludeNote);  // checked at first: now off
  EXPECT_TRUE(page.NoteText->isReadOnly());
  Click(page.IncludeNote);
  EXPECT_FALSE(page.NoteText->isReadOnly());
  pages.setCurrentWidget(&tracks);
  EXPECT_TRUE(tracks.VariousAlbumTitle->isReadOnly());
  Click(tracks.VariousArtists);
  EXPECT_FALSE(tracks.VariousAlbumTitle->isReadOnly());

  Click(tracks.Nmr);
  for (QWidget* off :
       {static_cast<QWidget*>(tracks.SourceLabel), static_cast<QWidget*>(tracks.Source),
        static_cast<QWidget*>(tracks.RipperLabel), static_cast<QWidget*>(tracks.RipperProgram),
        static_cast<QWidget*>(tracks.DriveLabel), static_cast<QWidget*>(tracks.Drive),
        static_cast<QWidget*>(page.RippedByLabel), static_cast<QWidget*>(page.RippedBy),
        static_cast<QWidget*>(page.RipDateLabel), static_cast<QWidget*>(page.RipDate)}) {
    EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
  }
  EXPECT_TRUE(page.PostedBy->isEnabled() && page.PostDate->isEnabled());
  Click(tracks.Nmr);
  EXPECT_TRUE(page.RippedBy->isEnabled() && tracks.Drive->isEnabled());
}

// A language file replaces every caption it names and empties every one it lacks; its messages
// reach the status bar and the mixed-format warning.
TEST(WindowRulesTest, LanguageFileSetsCaptionsMessagesAndTheWarning) {
  TempFolder program, album;
  program.Write(QStringLiteral("lang/test.lng"),
                "[MENU]\r\n0=&File\r\n[TABSHEETS]\r\n1001=Folder\r\n[LISTVIEW]\r\n3002=Artist\r\n"
                "3003=Title\r\n3004=Album\r\n[LABELS]\r\n6018=&Ripped by:\r\n6028=Your note\r\n"
                "[TEXTS]\r\n9001=Not saved yet\r\n9006=Careful\r\n9007=Several formats:\r\n"
                "9008=Analysed:\r\n");
  program.Write(QStringLiteral("nfo.ini"), "[Velmora]\r\nlanguage=test.lng\r\n");
  program.Write(QStringLiteral("note.txt"), "first\r\nsecond\r\n");
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "a.flac", "b.flac", "c.flac", "d.ape"})
    album.Write(QString::fromLatin1(name), "x");
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();

  EXPECT_EQ(window.menuBar()->actions()[0]->text(), QStringLiteral("&File"));
  EXPECT_TRUE(window.menuBar()->actions()[1]->text().isEmpty());  // "1" is missing
  EXPECT_EQ(window.Pages()->tabText(0), QStringLiteral("Folder"));
  EXPECT_TRUE(window.Folder()->Next->text().isEmpty());
  EXPECT_EQ(window.Tracks()->Tracks->horizontalHeaderItem(1)->text(), QStringLiteral("Artist"));
  EXPECT_TRUE(window.Tracks()->Tracks->horizontalHeaderItem(0)->text().isEmpty());
  ReleasePage& page = *window.Release();
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("AuthorLegend"))->text(),
            QStringLiteral("Artist:"));
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("AlbumLegend"))->text(),
            QStringLiteral("Album:"));
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("TitleLegend"))->text(),
            QStringLiteral("Title:"));
  EXPECT_EQ(page.NoteText->toPlainText(), QStringLiteral("Your note\nsecond"));
  EXPECT_EQ(window.Status()->text(), QStringLiteral("Not saved yet"));
  // Screen readers name a control after its label, without the mnemonic's "&".
  EXPECT_EQ(page.RippedBy->accessibleName(), QStringLiteral("Ripped by:"));
  // The label's mnemonic moves the focus to its control.
  window.Pages()->setCurrentWidget(&page);
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  page.PostedBy->setFocus();
  QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(page.RippedBy->hasFocus());

  harness.ChooseFolder(album.Path());
  DiffFilesDialog& warning = *window.MixedFormats();
  ASSERT_TRUE(warning.isVisible());
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(warning.windowTitle(), QStringLiteral("Careful"));
  EXPECT_EQ(warning.FirstLine->text(), QStringLiteral("Several formats:"));
  EXPECT_EQ(warning.LastLine->text(), QStringLiteral("Analysed: flac"));
  const int flac = FormatIndex(AudioFormat::Flac);
  EXPECT_EQ(warning.Counts[FormatIndex(AudioFormat::Mp3)]->text(), QStringLiteral("3"));
  EXPECT_EQ(warning.Counts[flac]->text(), QStringLiteral("3"));
  EXPECT_EQ(warning.Counts[FormatIndex(AudioFormat::Ape)]->text(), QStringLiteral("1"));
  EXPECT_TRUE(warning.FormatLabels[flac]->font().bold());
  EXPECT_FALSE(warning.FormatLabels[FormatIndex(AudioFormat::Mp3)]->font().bold());
  EXPECT_TRUE(window.Folder()->TrackList->toPlainText().endsWith(QStringLiteral("c.flac")));
  Click(warning.Ok);
  EXPECT_FALSE(warning.isVisible());
  EXPECT_TRUE(window.isEnabled());
}

TEST(WindowRulesTest, TabWalksEachPageInOrderAndControlsCarryTheirFieldNames) {
  TempFolder program;
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();
  for (const char* name :
       {"RippedBy",         "RipDate",        "PostedBy",       "PostDate",          "DiscInfo",
        "NewsServer",       "Group",          "SelectedGroups", "IncludeChecksums",  "NoteText",
        "FileNameTemplate", "Year",           "Genre",          "VariousAlbumTitle", "Source",
        "NextFromFolder",   "NextFromTracks", "SaveNfo",        "PageFolder",        "PageNfo"}) {
    EXPECT_NE(window.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }

  ReleasePage& page = *window.Release();
  window.Pages()->setCurrentWidget(&page);
  page.RippedBy->setFocus();
  QStringList order;
  QWidget* control = page.RippedBy;
  for (int step = 0; step < 40 && order.size() < 12; ++step) {
    if (control->isVisible() && (control->focusPolicy() & Qt::TabFocus) &&
        page.isAncestorOf(control) && !control->objectName().isEmpty() &&
        !control->objectName().startsWith(QLatin1String("qt_")))
      order << control->objectName();
    control = control->nextInFocusChain();
  }
  EXPECT_EQ(order.mid(0, 12),
            (QStringList{QStringLiteral("RippedBy"), QStringLiteral("RipDate"),
                         QStringLiteral("PostedBy"), QStringLiteral("PostDate"),
                         QStringLiteral("DiscInfo"), QStringLiteral("NewsServer"),
                         QStringLiteral("Group"), QStringLiteral("AddGroup"),
                         QStringLiteral("RemoveGroup"), QStringLiteral("SelectedGroups"),
                         QStringLiteral("IncludeChecksums"), QStringLiteral("IncludePls")}));
}

TEST(WindowRulesTest, ShippedLanguagesCarryEveryCaptionAndMessage) {
  TempFolder program;
  WindowHarness harness(program.Path());
  QList<CaptionKey> keys = harness.Window().CaptionKeys();
  for (const char* key : {"9001", "9002", "9003", "9004", "9005", "9006", "9007", "9008"})
    keys.append({"TEXTS", key, [](const QString&) {}});
  for (auto [name, codePage] : {std::pair{"english.lng", 1252}, std::pair{"polski.lng", 1250}}) {
    IniFile language{CodePage(codePage)};
    ASSERT_TRUE(
        language.Load(QStringLiteral(VELMORA_PROGRAM_DATA "/lang/") + QString::fromLatin1(name)));
    for (const CaptionKey& key : keys) {
      const QString section = QString::fromLatin1(key.Section);
      const QString entry = QString::fromLatin1(key.Key);
      EXPECT_TRUE(language.Has(section, entry)) << name << " " << key.Section << " " << key.Key;
      EXPECT_FALSE(language.Read(section, entry).contains(QChar::ReplacementCharacter)) << name;
    }
  }
  IniFile polish{CodePage(1250)};
  polish.Load(QStringLiteral(VELMORA_PROGRAM_DATA "/lang/polski.lng"));
  EXPECT_EQ(polish.Read(QStringLiteral("MENU"), QStringLiteral("02")), QStringLiteral("&Wyjście"));
}

TEST(WindowRulesTest, DroppedFolderIsScannedAndSeveralItemsScanTheCurrentOneAgain) {
  TempFolder program, first, second;
  first.Write(QStringLiteral("1.mp3"), "x");
  second.Write(QStringLiteral("a.mp3"), "x");
  second.Write(QStringLiteral("b.mp3"), "x");
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();
  auto drop = [&](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return window.Folder()->TrackList->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  };
  EXPECT_EQ(drop({QUrl::fromLocalFile(first.Path())}).size(), 1);
  second.Write(QStringLiteral("2.mp3"), "x");
  first.Write(QStringLiteral("2.mp3"), "x");
  // Two items at once: the folder shown before is scanned again, and sees its new file.
  EXPECT_EQ(drop({QUrl::fromLocalFile(second.Path()), QUrl::fromLocalFile(first.Path())}).size(),
            2);
  EXPECT_EQ(window.Folder()->FolderPath->text(), first.Path());
  // A file instead of a folder: an empty scan, and nothing to analyse.
  EXPECT_TRUE(drop({QUrl::fromLocalFile(first.FilePath(QStringLiteral("1.mp3")))}).isEmpty());
  EXPECT_FALSE(window.Folder()->Next->isEnabled());
}
