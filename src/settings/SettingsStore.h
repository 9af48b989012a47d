#pragma once

#include "analysis/ReleaseModel.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"

#include <QString>

// The settings file "nfo.ini", the five list files and the note file, all under ProgramDir.
// Load and save are functions over the model, so the window and velmora-cli share them.

inline constexpr char kSettingsSection[] = "Velmora";

QString SettingsFilePath(const QString& programDir);
QString NoteFilePath(const QString& programDir);

// Reads the twenty keys into the model; a missing key gives its default (a missing text key gives
// an empty text, replacing the window's own default).
void LoadSettings(ReleaseModel& model, const IniFile& ini);
// Writes the twenty keys in their fixed order under [Velmora], leaving other sections and keys.
void SaveSettings(const ReleaseModel& model, IniFile& ini);

// Loads "nfo.ini" from ProgramDir (missing file: all defaults).
void LoadSettingsFile(ReleaseModel& model);
// Saves into "nfo.ini" in ProgramDir; throws FileError "Cannot create file %s".
void SaveSettingsFile(const ReleaseModel& model);

// The values the main window reads while it is created: the folder browser's start folder, the
// update flag and the window size.
struct StartupSettings {
  QString DefaultPath;
  bool CheckUpdate = true;
  int Width = kDefaultWindowWidth;
  int Height = kDefaultWindowHeight;
};
StartupSettings ReadStartupSettings(const IniFile& ini);

// Reads the five list files into model.Lists and "note.txt" into the note text. A missing file
// is skipped and leaves its list or the note as it was.
void LoadListFiles(ReleaseModel& model, const CodePage& codePage = CodePage::System());
bool LoadNote(ReleaseModel& model, const CodePage& codePage = CodePage::System());
// Writes the note as UTF-16LE with FF FE; throws FileError "Cannot create file %s".
void SaveNote(const ReleaseModel& model);

// A boolean as the settings file stores it: a whole number other than 0 is true; anything that is
// not a whole number gives the fallback.
bool ParseSettingsBool(const QString& text, bool fallback);
int ParseSettingsInt(const QString& text, int fallback);
