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
#include <QTableView>
#include <QTest>

#include "WindowHarness.h"
#include "model/ModelFields.h"
#include "platform/IniFile.h"
#include "support/TestSupport.h"
#include "ui/DiffFilesDialog.h"
#include "ui/FieldBinding.h"
#include "ui/FolderPage.h"
#include "ui/OptionsDialog.h"
#include "ui/ReleasePage.h"
#include "ui/TracksPage.h"

namespace {

// Near the left edge: a check box stretched by its layout takes clicks on its box and caption
// only, not on the empty rest of its width.
void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Where a binding's field lies in a scratch release; nothing for an option.
template <class Value, class Control>
const void* AddressIn(Release& release, const Bound<ReleaseSummary, Value, Control>& bound) {
  return &(release.Summary.*bound.Field);
}
template <class Value, class Control>
const void* AddressIn(Release& release, const Bound<ReleaseInfo, Value, Control>& bound) {
  return &(release.Info.*bound.Field);
}
template <class Value, class Control>
const void* AddressIn(Release&, const Bound<Options, Value, Control>&) {
  return nullptr;
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
  auto& postedBy = Control<QLineEdit>(page, "PostedBy");
  auto& rippedBy = Control<QLineEdit>(page, "RippedBy");
  auto& includePar = Control<QCheckBox>(page, "IncludePar");
  auto& includePar2 = Control<QCheckBox>(page, "IncludePar2");
  auto& group = Control<QComboBox>(page, "Group");
  auto& addGroup = Control<QPushButton>(page, "AddGroup");
  auto& removeGroup = Control<QPushButton>(page, "RemoveGroup");
  auto& selectedGroups = Control<QListWidget>(page, "SelectedGroups");
  auto& includeNote = Control<QCheckBox>(page, "IncludeNote");
  auto& noteText = Control<QPlainTextEdit>(page, "NoteText");
  auto& variousAlbumTitle = Control<QLineEdit>(tracks, "VariousAlbumTitle");
  auto& nmr = Control<QCheckBox>(tracks, "Nmr");

  postedBy.setText(QStringLiteral("other"));
  QTest::keyClicks(&rippedBy, QStringLiteral("Ja"));
  EXPECT_EQ(postedBy.text(), rippedBy.text());
  QTest::keyClicks(&postedBy, QStringLiteral("X"));
  EXPECT_NE(rippedBy.text(), postedBy.text());
  // Every change is the session's at once, the rule's change too.
  EXPECT_EQ(harness.Model().Info.RippedBy, rippedBy.text());
  EXPECT_EQ(harness.Model().Info.PostedBy, postedBy.text());

  Click(&includePar);
  Click(&includePar2);
  EXPECT_FALSE(includePar.isChecked());
  EXPECT_TRUE(includePar2.isChecked());
  Click(&includePar2);
  EXPECT_FALSE(includePar.isChecked() || includePar2.isChecked());

  group.setEditText(QStringLiteral("alt.test"));
  Click(&addGroup);
  Click(&addGroup);
  group.setEditText(QStringLiteral("ALT.test"));
  Click(&addGroup);
  EXPECT_EQ(Items(&selectedGroups),
            (QStringList{QStringLiteral("alt.test"), QStringLiteral("ALT.test")}));
  selectedGroups.clearSelection();
  Click(&removeGroup);
  EXPECT_EQ(selectedGroups.count(), 2);
  selectedGroups.item(0)->setSelected(true);
  Click(&removeGroup);
  EXPECT_EQ(Items(&selectedGroups), QStringList{QStringLiteral("ALT.test")});
  EXPECT_EQ(harness.Model().Info.SelectedGroups, QStringList{QStringLiteral("ALT.test")});

  Click(&includeNote);  // checked at first: now off
  EXPECT_TRUE(noteText.isReadOnly());
  Click(&includeNote);
  EXPECT_FALSE(noteText.isReadOnly());
  pages.setCurrentWidget(&tracks);
  EXPECT_TRUE(variousAlbumTitle.isReadOnly());
  Click(&Control<QCheckBox>(tracks, "VariousArtists"));
  EXPECT_FALSE(variousAlbumTitle.isReadOnly());

  Click(&nmr);
  for (const char* name :
       {"SourceLabel", "Source", "RipperProgramLabel", "RipperProgram", "DriveLabel", "Drive"}) {
    EXPECT_FALSE(Control(tracks, name).isEnabled()) << name;
  }
  for (const char* name : {"RippedByLabel", "RippedBy", "RipDateLabel", "RipDate"})
    EXPECT_FALSE(Control(page, name).isEnabled()) << name;
  EXPECT_TRUE(postedBy.isEnabled() && Control(page, "PostDate").isEnabled());
  Click(&nmr);
  EXPECT_TRUE(rippedBy.isEnabled() && Control(tracks, "Drive").isEnabled());
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
  EXPECT_TRUE(Control<QPushButton>(window, "NextFromFolder").text().isEmpty());
  const QAbstractItemModel& tracks = *Control<QTableView>(window, "Tracks").model();
  EXPECT_EQ(tracks.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Artist"));
  EXPECT_TRUE(tracks.headerData(0, Qt::Horizontal).toString().isEmpty());
  ReleasePage& page = *window.Release();
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("AuthorLegend"))->text(),
            QStringLiteral("Artist:"));
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("AlbumLegend"))->text(),
            QStringLiteral("Album:"));
  EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("TitleLegend"))->text(),
            QStringLiteral("Title:"));
  EXPECT_EQ(Control<QPlainTextEdit>(page, "NoteText").toPlainText(),
            QStringLiteral("Your note\nsecond"));
  EXPECT_EQ(window.Status()->text(), QStringLiteral("Not saved yet"));
  // Screen readers name a control after its label, without the mnemonic's "&".
  auto& rippedBy = Control<QLineEdit>(page, "RippedBy");
  EXPECT_EQ(rippedBy.accessibleName(), QStringLiteral("Ripped by:"));
  // The label's mnemonic moves the focus to its control.
  window.Pages()->setCurrentWidget(&page);
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  Control(page, "PostedBy").setFocus();
  QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(rippedBy.hasFocus());

  harness.ChooseFolder(album.Path());
  DiffFilesDialog& warning = *window.MixedFormats();
  ASSERT_TRUE(warning.isVisible());
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(warning.windowTitle(), QStringLiteral("Careful"));
  EXPECT_EQ(Control<QLabel>(warning, "FirstLine").text(), QStringLiteral("Several formats:"));
  EXPECT_EQ(Control<QLabel>(warning, "LastLine").text(), QStringLiteral("Analysed: flac"));
  EXPECT_EQ(Control<QLabel>(warning, "Countmp3").text(), QStringLiteral("3"));
  EXPECT_EQ(Control<QLabel>(warning, "Countflac").text(), QStringLiteral("3"));
  EXPECT_EQ(Control<QLabel>(warning, "Countape").text(), QStringLiteral("1"));
  EXPECT_EQ(warning.findChild<QLabel*>(QStringLiteral("Countmpc")), nullptr);  // none of them
  EXPECT_TRUE(Control<QLabel>(warning, "Countflac").font().bold());
  EXPECT_FALSE(Control<QLabel>(warning, "Countmp3").font().bold());
  EXPECT_TRUE(Control<QPlainTextEdit>(window, "TrackList")
                  .toPlainText()
                  .endsWith(QStringLiteral("c.flac")));
  Click(&Control<QPushButton>(warning, "Ok"));
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
  Control(page, "RippedBy").setFocus();
  QStringList order;
  QWidget* control = &Control(page, "RippedBy");
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

// Every caption of the table has a window that shows it, and the shipped language files carry
// every caption and message.
TEST(WindowRulesTest, EveryCaptionIsShownAndShippedInBothLanguages) {
  TempFolder program;
  WindowHarness harness(program.Path());
  const std::map<CaptionWindow, CaptionSetters> windows = harness.Window().CaptionWindows();
  QList<std::pair<const char*, const char*>> keys;
  size_t setters = 0;
  for (const CaptionEntry& entry : CaptionTable()) {
    const auto window = windows.find(entry.Window);
    ASSERT_NE(window, windows.end());
    EXPECT_TRUE(window->second.contains(entry.Id)) << entry.Section << " " << entry.Key;
    keys.append(std::pair{entry.Section, entry.Key});
  }
  for (const auto& [window, captions] : windows)
    setters += captions.size();
  EXPECT_EQ(setters, CaptionTable().size());  // nothing a window sets is missing from the table
  for (const char* key : {"9001", "9002", "9003", "9004", "9005", "9006", "9007", "9008"})
    keys.append(std::pair{"TEXTS", key});
  for (auto [name, codePage] : {std::pair{"english.lng", 1252}, std::pair{"polski.lng", 1250}}) {
    IniFile language{CodePage(codePage)};
    ASSERT_TRUE(
        language.Load(QStringLiteral(VELMORA_PROGRAM_DATA "/lang/") + QString::fromLatin1(name)));
    for (const auto& [sectionName, key] : keys) {
      const QString section = QString::fromLatin1(sectionName);
      const QString entry = QString::fromLatin1(key);
      EXPECT_TRUE(language.Has(section, entry)) << name << " " << sectionName << " " << key;
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
    return Control<QPlainTextEdit>(window, "TrackList")
        .toPlainText()
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  };
  EXPECT_EQ(drop({QUrl::fromLocalFile(first.Path())}).size(), 1);
  second.Write(QStringLiteral("2.mp3"), "x");
  first.Write(QStringLiteral("2.mp3"), "x");
  // Two items at once: the folder shown before is scanned again, and sees its new file.
  EXPECT_EQ(drop({QUrl::fromLocalFile(second.Path()), QUrl::fromLocalFile(first.Path())}).size(),
            2);
  EXPECT_EQ(Control<QLineEdit>(window, "FolderPath").text(), first.Path());
  // A file instead of a folder: an empty scan, and nothing to analyse.
  EXPECT_TRUE(drop({QUrl::fromLocalFile(first.FilePath(QStringLiteral("1.mp3")))}).isEmpty());
  EXPECT_FALSE(Control(window, "NextFromFolder").isEnabled());
}

// Each field of pages 2 and 3 has exactly one control, found by the compiler rather than by its
// name, and every input control of the pages and the options is bound to a field.
TEST(WindowRulesTest, EveryFieldAndEveryInputControlIsBound) {
  TempFolder program;
  WindowHarness harness(program.Path());
  MainWindow& window = harness.Window();
  const QList<FieldBinding> bindings = window.Bindings();
  QSet<const QWidget*> bound;
  for (const FieldBinding& binding : bindings)
    bound.insert(ControlOf(binding));
  EXPECT_EQ(bound.size(), bindings.size());  // no control bound twice

  // A field's address in a scratch release against the address each binding points at.
  Release scratch;
  QSet<const void*> boundFields;
  for (const FieldBinding& binding : bindings)
    boundFields.insert(std::visit([&](const auto& b) { return AddressIn(scratch, b); }, binding));
  for (const auto& fields : {SummaryFields(scratch.Summary), InfoFields(scratch.Info)}) {
    for (const NamedField& field : fields) {
      const void* address =
          std::visit([](auto* pointer) -> const void* { return pointer; }, field.Ref);
      EXPECT_TRUE(boundFields.contains(address)) << field.Name.toStdString();
    }
  }

  QList<QWidget*> inputs;
  for (QWidget* root :
       {static_cast<QWidget*>(window.Tracks()), static_cast<QWidget*>(window.Release()),
        static_cast<QWidget*>(window.Options())}) {
    for (QWidget* child : root->findChildren<QWidget*>()) {
      const bool input = qobject_cast<QLineEdit*>(child) || qobject_cast<QComboBox*>(child) ||
                         qobject_cast<QCheckBox*>(child) || qobject_cast<QDateEdit*>(child) ||
                         qobject_cast<QListWidget*>(child) || qobject_cast<QPlainTextEdit*>(child);
      // The line edits inside drop-downs and date pickers belong to them; the hidden XP menu box
      // stands for nothing, and the language list only fills the language field.
      if (input && !child->objectName().isEmpty() &&
          !child->objectName().startsWith(QLatin1String("qt_")) &&
          child->objectName() != QLatin1String("XpMenu") &&
          child->objectName() != QLatin1String("LanguageFiles")) {
        inputs << child;
      }
    }
  }
  EXPECT_GT(inputs.size(), 40);
  for (const QWidget* input : inputs)
    EXPECT_TRUE(bound.contains(input)) << input->objectName().toStdString();
}
