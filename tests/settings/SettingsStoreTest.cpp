#include <gtest/gtest.h>

#include "platform/FileError.h"
#include "settings/SettingsStore.h"
#include "support/TestSupport.h"

namespace {

// A release with the options and lists that the settings and list files fill.
struct SettingsModel : Release {
  Options Opts;
  ChoiceLists Lists;
  SettingsTarget Target() { return {Summary, Info, Opts}; }
};

SettingsModel ModelIn(const TempFolder& folder) {
  SettingsModel model;
  model.Run.ProgramDir = folder.Path();
  return model;
}

QList<QByteArray> KeysInFileOrder(const QByteArray& ini) {
  QList<QByteArray> keys;
  for (const QByteArray& line : ini.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0)
      keys.append(line.left(equals));
  }
  return keys;
}

}  // namespace

TEST(SettingsStoreTest, FirstStartWithoutFileGivesDefaultsAndEmptiesTexts) {
  TempFolder folder;
  SettingsModel model = ModelIn(folder);
  model.Opts.AutoCrc = false;
  LoadSettingsFile(model.Run.ProgramDir, model.Target());
  EXPECT_TRUE(model.Opts.AutoCrc);
  EXPECT_TRUE(model.Opts.AddBitrate);
  EXPECT_TRUE(model.Opts.SaveUnicode);
  EXPECT_TRUE(model.Opts.CheckUpdate);
  EXPECT_TRUE(model.Opts.Ads);
  EXPECT_FALSE(model.Opts.Utf8Text);  // a settings file of before keeps the old forms
  EXPECT_TRUE(model.Info.IncludeNote);
  EXPECT_EQ(model.Opts.Width, 695);
  EXPECT_EQ(model.Opts.Height, 540);
  // A missing text key replaces the window's own default with an empty text.
  EXPECT_TRUE(model.Info.RippedBy.isEmpty());
  EXPECT_TRUE(model.Info.FileNameTemplate.isEmpty());
  EXPECT_TRUE(model.Summary.Source.isEmpty());
  EXPECT_TRUE(model.Info.Group.isEmpty());
}

TEST(SettingsStoreTest, SavingWritesEveryKeyInOrderAndKeepsOtherSections) {
  TempFolder folder;
  folder.Write(QStringLiteral("nfo.ini"), "[Mine]\r\nx=1\r\n");
  SettingsModel model = ModelIn(folder);
  model.Summary.Drive = QStringLiteral("Plextor PX-716");
  model.Info.RippedBy = QStringLiteral("Zoë");
  model.Opts.Width = 800;
  model.Opts.Ads = false;
  model.Opts.Utf8Text = true;
  SaveSettingsFile(model.Run.ProgramDir, model.Target());
  const QByteArray bytes = folder.Read(QStringLiteral("nfo.ini"));
  const QList<QByteArray> expected = {
      "x",      "autocrc",          "addbitrate", "defaultpath", "language",    "source",
      "ripper", "cd/dvd",           "rippedby",   "postedby",    "server",      "group",
      "notes",  "saveunicode",      "crc",        "VA",          "checkupdate", "width",
      "height", "filenametemplate", "ads",        "utf8text",    "audiopass",   "audionfo"};
  EXPECT_EQ(KeysInFileOrder(bytes), expected) << bytes.toStdString();
  EXPECT_TRUE(bytes.contains("[Velmora]\r\nautocrc=1\r\n")) << bytes.toStdString();
  EXPECT_TRUE(bytes.contains("\r\nads=0\r\n"));
  EXPECT_TRUE(bytes.contains("\r\ncd/dvd=Plextor PX-716\r\n"));

  SettingsModel again = ModelIn(folder);
  LoadSettingsFile(again.Run.ProgramDir, again.Target());
  EXPECT_EQ(again.Summary.Drive, QStringLiteral("Plextor PX-716"));
  EXPECT_EQ(again.Info.RippedBy, QStringLiteral("Zoë"));
  EXPECT_EQ(again.Opts.Width, 800);
  EXPECT_FALSE(again.Opts.Ads);
  EXPECT_TRUE(again.Opts.Utf8Text);
  EXPECT_EQ(again.Info.FileNameTemplate, model.Info.FileNameTemplate);
}

TEST(SettingsStoreTest, BooleansAreWholeNumbersAndAnythingElseGivesTheDefault) {
  EXPECT_FALSE(ParseSettingsBool(QStringLiteral("0"), true));
  EXPECT_TRUE(ParseSettingsBool(QStringLiteral("1"), false));
  EXPECT_TRUE(ParseSettingsBool(QStringLiteral("-7"), false));
  EXPECT_TRUE(ParseSettingsBool(QStringLiteral("abc"), true));
  EXPECT_FALSE(ParseSettingsBool(QString(), false));
  EXPECT_EQ(ParseSettingsInt(QStringLiteral("800"), 695), 800);
  EXPECT_EQ(ParseSettingsInt(QStringLiteral("wide"), 695), 695);

  TempFolder folder;
  folder.Write(QStringLiteral("nfo.ini"),
               "[Velmora]\r\nautocrc=abc\r\nnotes=0\r\nwidth=800\r\nheight=600\r\n");
  SettingsModel model = ModelIn(folder);
  LoadSettingsFile(model.Run.ProgramDir, model.Target());
  EXPECT_TRUE(model.Opts.AutoCrc);
  EXPECT_FALSE(model.Info.IncludeNote);
  IniFile ini;
  ini.Load(SettingsFilePath(folder.Path()));
  const StartupSettings startup = ReadStartupSettings(ini);
  EXPECT_EQ(startup.Width, 800);
  EXPECT_EQ(startup.Height, 600);
  EXPECT_TRUE(startup.CheckUpdate);
}

TEST(SettingsStoreTest, ListFilesAreReadInAnyOfTheirEncodingsAndMissingOnesAreSkipped) {
  TempFolder folder;
  folder.Write(QStringLiteral("groups.ini"),
               "alt.binaries.a\r\nalt.binaries.b\r\nalt.binaries.c\r\n");
  folder.Write(QStringLiteral("enc.ini"),
               QByteArray("\xEF\xBB\xBF") + QStringLiteral("Ripper Żółw\n").toUtf8());
  folder.Write(QStringLiteral("genre.ini"), Bytes{0xFF, 0xFE, 'R', 0, 'o', 0, 'c', 0, 'k', 0});
  folder.Write(QStringLiteral("cd_dvd.ini"),
               "\xA3"
               "ada\r\n");
  SettingsModel model = ModelIn(folder);
  model.Lists.NewsServers = {QStringLiteral("built-in")};
  LoadListFiles(model.Run.ProgramDir, model.Lists, CodePage(1250));
  EXPECT_EQ(model.Lists.Groups,
            (QStringList{QStringLiteral("alt.binaries.a"), QStringLiteral("alt.binaries.b"),
                         QStringLiteral("alt.binaries.c")}));
  EXPECT_EQ(model.Lists.RipperPrograms, QStringList{QStringLiteral("Ripper Żółw")});
  EXPECT_EQ(model.Lists.Genres, QStringList{QStringLiteral("Rock")});
  EXPECT_EQ(model.Lists.Drives, QStringList{QStringLiteral("Łada")});
  EXPECT_EQ(model.Lists.NewsServers, QStringList{QStringLiteral("built-in")});
}

TEST(SettingsStoreTest, NoteIsSavedAsUtf16WithBomAndReadsBackUnchanged) {
  TempFolder folder;
  SettingsModel model = ModelIn(folder);
  model.Info.NoteText = QStringLiteral("Pierwsza linia\nDruga – żółć");
  SaveNote(model.Run.ProgramDir, model.Info.NoteText);
  const QByteArray bytes = folder.Read(QStringLiteral("note.txt"));
  EXPECT_TRUE(bytes.startsWith("\xFF\xFEP\0"));
  SettingsModel again = ModelIn(folder);
  ASSERT_TRUE(LoadNote(again.Run.ProgramDir, again.Info.NoteText));
  EXPECT_EQ(again.Info.NoteText, model.Info.NoteText);

  TempFolder empty;
  SettingsModel untouched = ModelIn(empty);
  EXPECT_FALSE(LoadNote(untouched.Run.ProgramDir, untouched.Info.NoteText));
  EXPECT_EQ(untouched.Info.NoteText, QStringLiteral("Write anything you want...."));
}

TEST(SettingsStoreTest, FailedSaveKeepsThePreviousSettingsFile) {
  TempFolder folder;
  const QByteArray previous = "[Velmora]\r\nautocrc=0\r\n";
  folder.Write(QStringLiteral("nfo.ini"), previous);
  SettingsModel model = ModelIn(folder);
  model.Run.ProgramDir = folder.FilePath(QStringLiteral("gone"));
  EXPECT_THROW(SaveSettingsFile(model.Run.ProgramDir, model.Target()), FileError);
  EXPECT_EQ(folder.Read(QStringLiteral("nfo.ini")), previous);
}
