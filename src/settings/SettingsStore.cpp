#include "settings/SettingsStore.h"

#include "platform/Overloaded.h"
#include "platform/TextFile.h"

#include <QDir>
#include <variant>

namespace {

using TextField = QString& (*)(SettingsTarget&);
using BoolField = bool& (*)(SettingsTarget&);
using IntField = int& (*)(SettingsTarget&);

struct BoolKey {
  BoolField field;
  bool fallback;
};
struct IntKey {
  IntField field;
  int fallback;
};

struct SettingKey {
  const char* name;
  std::variant<TextField, BoolKey, IntKey> binding;
};

// The keys in the order they are written to the file.
const std::array<SettingKey, 23>& SettingKeys() {
  static const std::array<SettingKey, 23> keys = {{
      {"autocrc", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.AutoCrc; }, true}},
      {"addbitrate", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.AddBitrate; }, true}},
      {"defaultpath", TextField{[](SettingsTarget& m) -> QString& { return m.Opts.DefaultPath; }}},
      {"language", TextField{[](SettingsTarget& m) -> QString& { return m.Opts.Language; }}},
      {"source", TextField{[](SettingsTarget& m) -> QString& { return m.Summary.Source; }}},
      {"ripper", TextField{[](SettingsTarget& m) -> QString& { return m.Summary.RipperProgram; }}},
      {"cd/dvd", TextField{[](SettingsTarget& m) -> QString& { return m.Summary.Drive; }}},
      {"rippedby", TextField{[](SettingsTarget& m) -> QString& { return m.Info.RippedBy; }}},
      {"postedby", TextField{[](SettingsTarget& m) -> QString& { return m.Info.PostedBy; }}},
      {"server", TextField{[](SettingsTarget& m) -> QString& { return m.Info.NewsServer; }}},
      {"group", TextField{[](SettingsTarget& m) -> QString& { return m.Info.Group; }}},
      {"notes", BoolKey{[](SettingsTarget& m) -> bool& { return m.Info.IncludeNote; }, true}},
      {"saveunicode", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.SaveUnicode; }, true}},
      {"crc", TextField{[](SettingsTarget& m) -> QString& { return m.Opts.ChecksumKindText; }}},
      {"VA", TextField{[](SettingsTarget& m) -> QString& { return m.Summary.VariousAlbumTitle; }}},
      {"checkupdate", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.CheckUpdate; }, true}},
      {"width",
       IntKey{[](SettingsTarget& m) -> int& { return m.Opts.Width; }, kDefaultWindowWidth}},
      {"height",
       IntKey{[](SettingsTarget& m) -> int& { return m.Opts.Height; }, kDefaultWindowHeight}},
      {"filenametemplate",
       TextField{[](SettingsTarget& m) -> QString& { return m.Info.FileNameTemplate; }}},
      {"ads", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.Ads; }, true}},
      // Off when missing, so that a settings file of before keeps the 8-bit and Unicode forms.
      {"utf8text", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.Utf8Text; }, false}},
      // The audio analysis takes about one decode of the album: only when asked for.
      {"audiopass", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.AudioPass; }, false}},
      {"audionfo", BoolKey{[](SettingsTarget& m) -> bool& { return m.Opts.AudioNfo; }, false}},
  }};
  return keys;
}

QString Section() {
  return QString::fromLatin1(kSettingsSection);
}

QString ReadKey(const IniFile& ini, const char* key) {
  return ini.Read(Section(), QString::fromLatin1(key));
}

void LoadListFile(const QString& programDir, const char* name, QStringList& list,
                  const CodePage& codePage) {
  QStringList lines;
  if (TextFile::ReadLines(QDir(programDir).filePath(QString::fromLatin1(name)), codePage, lines)) {
    list = lines;
  }
}

}  // namespace

QString SettingsFilePath(const QString& programDir) {
  return QDir(programDir).filePath(QStringLiteral("nfo.ini"));
}

QString NoteFilePath(const QString& programDir) {
  return QDir(programDir).filePath(QStringLiteral("note.txt"));
}

bool ParseSettingsBool(const QString& text, bool fallback) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  return ok ? value != 0 : fallback;
}

int ParseSettingsInt(const QString& text, int fallback) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? value : fallback;
}

void LoadSettings(SettingsTarget target, const IniFile& ini) {
  for (const SettingKey& key : SettingKeys()) {
    const QString text = ReadKey(ini, key.name);
    std::visit(Overloaded{
                   [&](TextField field) { field(target) = text; },
                   [&](BoolKey k) { k.field(target) = ParseSettingsBool(text, k.fallback); },
                   [&](IntKey k) { k.field(target) = ParseSettingsInt(text, k.fallback); },
               },
               key.binding);
  }
  target.Opts.Checksum = ParseChecksumKind(target.Opts.ChecksumKindText);
}

void SaveSettings(SettingsTarget target, IniFile& ini) {
  for (const SettingKey& key : SettingKeys()) {
    const QString text = std::visit(
        Overloaded{
            [&](TextField field) { return field(target); },
            [&](BoolKey k) { return k.field(target) ? QStringLiteral("1") : QStringLiteral("0"); },
            [&](IntKey k) { return QString::number(k.field(target)); },
        },
        key.binding);
    ini.Write(Section(), QString::fromLatin1(key.name), text);
  }
}

void LoadSettingsFile(const QString& programDir, SettingsTarget target) {
  IniFile ini;
  ini.Load(SettingsFilePath(programDir));
  LoadSettings(target, ini);
}

void SaveSettingsFile(const QString& programDir, SettingsTarget target) {
  const QString path = SettingsFilePath(programDir);
  IniFile ini;
  ini.Load(path);
  SaveSettings(target, ini);
  ini.Save(path);
}

StartupSettings ReadStartupSettings(const IniFile& ini) {
  StartupSettings startup;
  startup.DefaultPath = ReadKey(ini, "defaultpath");
  startup.CheckUpdate = ParseSettingsBool(ReadKey(ini, "checkupdate"), true);
  startup.Width = ParseSettingsInt(ReadKey(ini, "width"), kDefaultWindowWidth);
  startup.Height = ParseSettingsInt(ReadKey(ini, "height"), kDefaultWindowHeight);
  return startup;
}

void LoadListFiles(const QString& dir, ChoiceLists& lists, const CodePage& codePage) {
  LoadListFile(dir, "enc.ini", lists.RipperPrograms, codePage);
  LoadListFile(dir, "cd_dvd.ini", lists.Drives, codePage);
  LoadListFile(dir, "servers.ini", lists.NewsServers, codePage);
  LoadListFile(dir, "groups.ini", lists.Groups, codePage);
  LoadListFile(dir, "genre.ini", lists.Genres, codePage);
}

bool LoadNote(const QString& programDir, QString& noteText, const CodePage& codePage) {
  QStringList lines;
  if (!TextFile::ReadLines(NoteFilePath(programDir), codePage, lines))
    return false;
  noteText = lines.join(QLatin1Char('\n'));
  return true;
}

void SaveNote(const QString& programDir, const QString& noteText) {
  TextFile::WriteLines(NoteFilePath(programDir), TextFile::SplitLines(noteText),
                       TextFile::Form::Unicode, CodePage::System());
}
