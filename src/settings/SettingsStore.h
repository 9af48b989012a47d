#pragma once

#include "model/ChoiceLists.h"
#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"

#include <QString>

// The settings file "nfo.ini", the five list files and the note file, all under ProgramDir.
// Load and save are functions over the release and the options, so the window and velmora-cli
// share them.

inline constexpr char kSettingsSection[] = "Velmora";

QString SettingsFilePath(const QString& programDir);
QString NoteFilePath(const QString& programDir);

// What the settings file holds values of: the options and some fields of pages 2 and 3.
struct SettingsTarget {
  ReleaseSummary& Summary;
  ReleaseInfo& Info;
  Options& Opts;
};

// Reads the keys into the target; a missing key gives its default (a missing text key gives
// an empty text, replacing the window's own default).
void LoadSettings(SettingsTarget target, const IniFile& ini);
// Writes the keys in their fixed order under [Velmora], leaving other sections and keys.
void SaveSettings(SettingsTarget target, IniFile& ini);

// Loads "nfo.ini" from programDir (missing file: all defaults).
void LoadSettingsFile(const QString& programDir, SettingsTarget target);
// Saves into "nfo.ini" in programDir; throws FileError "Cannot create file %s".
void SaveSettingsFile(const QString& programDir, SettingsTarget target);

// The values the main window reads while it is created: the folder browser's start folder, the
// update flag and the window size.
struct StartupSettings {
  QString DefaultPath;
  bool CheckUpdate = true;
  int Width = kDefaultWindowWidth;
  int Height = kDefaultWindowHeight;
};
StartupSettings ReadStartupSettings(const IniFile& ini);

// Reads the five list files of programDir and "note.txt" into the note text. A missing file is
// skipped and leaves its list or the note as it was.
void LoadListFiles(const QString& programDir, ChoiceLists& lists,
                   const CodePage& codePage = CodePage::System());
bool LoadNote(const QString& programDir, QString& noteText,
              const CodePage& codePage = CodePage::System());
// Writes the note as UTF-16LE with FF FE; throws FileError "Cannot create file %s".
void SaveNote(const QString& programDir, const QString& noteText);

// A boolean as the settings file stores it: a whole number other than 0 is true; anything that is
// not a whole number gives the fallback.
bool ParseSettingsBool(const QString& text, bool fallback);
int ParseSettingsInt(const QString& text, int fallback);
