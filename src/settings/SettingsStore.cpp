#include "settings/SettingsStore.h"

#include "platform/Overloaded.h"
#include "platform/TextFile.h"

#include <QDir>
#include <variant>

namespace {

using TextField = QString& (*)(ReleaseModel&);
using BoolField = bool& (*)(ReleaseModel&);
using IntField = int& (*)(ReleaseModel&);

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
const std::array<SettingKey, 20>& SettingKeys() {
  static const std::array<SettingKey, 20> keys = {{
      {"autocrc", BoolKey{[](ReleaseModel& m) -> bool& { return m.Opts.AutoCrc; }, true}},
      {"addbitrate", BoolKey{[](ReleaseModel& m) -> bool& { return m.Opts.AddBitrate; }, true}},
      {"defaultpath", TextField{[](ReleaseModel& m) -> QString& { return m.Opts.DefaultPath; }}},
      {"language", TextField{[](ReleaseModel& m) -> QString& { return m.Opts.Language; }}},
      {"source", TextField{[](ReleaseModel& m) -> QString& { return m.Summary.Source; }}},
      {"ripper", TextField{[](ReleaseModel& m) -> QString& { return m.Summary.RipperProgram; }}},
      {"cd/dvd", TextField{[](ReleaseModel& m) -> QString& { return m.Summary.Drive; }}},
      {"rippedby", TextField{[](ReleaseModel& m) -> QString& { return m.Info.RippedBy; }}},
      {"postedby", TextField{[](ReleaseModel& m) -> QString& { return m.Info.PostedBy; }}},
      {"server", TextField{[](ReleaseModel& m) -> QString& { return m.Info.NewsServer; }}},
      {"group", TextField{[](ReleaseModel& m) -> QString& { return m.Info.Group; }}},
      {"notes", BoolKey{[](ReleaseModel& m) -> bool& { return m.Info.IncludeNote; }, true}},
      {"saveunicode", BoolKey{[](ReleaseModel& m) -> bool& { return m.Opts.SaveUnicode; }, true}},
      {"crc", TextField{[](ReleaseModel& m) -> QString& { return m.Opts.ChecksumKind; }}},
      {"VA", TextField{[](ReleaseModel& m) -> QString& { return m.Summary.VariousAlbumTitle; }}},
      {"checkupdate", BoolKey{[](ReleaseModel& m) -> bool& { return m.Opts.CheckUpdate; }, true}},
      {"width", IntKey{[](ReleaseModel& m) -> int& { return m.Opts.Width; }, kDefaultWindowWidth}},
      {"height",
       IntKey{[](ReleaseModel& m) -> int& { return m.Opts.Height; }, kDefaultWindowHeight}},
      {"filenametemplate",
       TextField{[](ReleaseModel& m) -> QString& { return m.Info.FileNameTemplate; }}},
      {"ads", BoolKey{[](ReleaseModel& m) -> bool& { return m.Opts.Ads; }, true}},
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

void LoadSettings(ReleaseModel& model, const IniFile& ini) {
  for (const SettingKey& key : SettingKeys()) {
    const QString text = ReadKey(ini, key.name);
    std::visit(Overloaded{
                   [&](TextField field) { field(model) = text; },
                   [&](BoolKey k) { k.field(model) = ParseSettingsBool(text, k.fallback); },
                   [&](IntKey k) { k.field(model) = ParseSettingsInt(text, k.fallback); },
               },
               key.binding);
  }
}

void SaveSettings(const ReleaseModel& model, IniFile& ini) {
  // The bindings hand out references for loading too; saving only reads through them.
  auto& readable = const_cast<ReleaseModel&>(model);
  for (const SettingKey& key : SettingKeys()) {
    const QString text =
        std::visit(Overloaded{
                       [&](TextField field) { return field(readable); },
                       [&](BoolKey k) {
                         return k.field(readable) ? QStringLiteral("1") : QStringLiteral("0");
                       },
                       [&](IntKey k) { return QString::number(k.field(readable)); },
                   },
                   key.binding);
    ini.Write(Section(), QString::fromLatin1(key.name), text);
  }
}

void LoadSettingsFile(ReleaseModel& model) {
  IniFile ini;
  ini.Load(SettingsFilePath(model.Run.ProgramDir));
  LoadSettings(model, ini);
}

void SaveSettingsFile(const ReleaseModel& model) {
  const QString path = SettingsFilePath(model.Run.ProgramDir);
  IniFile ini;
  ini.Load(path);
  SaveSettings(model, ini);
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

void LoadListFiles(ReleaseModel& model, const CodePage& codePage) {
  const QString& dir = model.Run.ProgramDir;
  LoadListFile(dir, "enc.ini", model.Lists.RipperPrograms, codePage);
  LoadListFile(dir, "cd_dvd.ini", model.Lists.Drives, codePage);
  LoadListFile(dir, "servers.ini", model.Lists.NewsServers, codePage);
  LoadListFile(dir, "groups.ini", model.Lists.Groups, codePage);
  LoadListFile(dir, "genre.ini", model.Lists.Genres, codePage);
}

bool LoadNote(ReleaseModel& model, const CodePage& codePage) {
  QStringList lines;
  if (!TextFile::ReadLines(NoteFilePath(model.Run.ProgramDir), codePage, lines))
    return false;
  model.Info.NoteText = lines.join(QLatin1Char('\n'));
  return true;
}

void SaveNote(const ReleaseModel& model) {
  TextFile::WriteLines(NoteFilePath(model.Run.ProgramDir),
                       TextFile::SplitLines(model.Info.NoteText), TextFile::Form::Unicode,
                       CodePage::System());
}
