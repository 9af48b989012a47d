#pragma once

#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"

#include <QString>
#include <QStringList>

// PLS and extended M3U playlists of the tracks, in track order, naming each file by its bare name
// (they sit in the folder of the audio files).

QStringList PlsLines(const Release& release);
QStringList M3uLines(const Release& release);

// "<base>.pls" / "<base>.m3u" in the form the options select. The 8-bit form is skipped silently
// when it cannot be written; the Unicode form throws FileError "Cannot create file %s". Return
// the path written, empty when the file was skipped.
QString WritePlsPlaylist(const Release& release, const Options& options,
                         const CodePage& codePage = CodePage::System());
QString WriteM3uPlaylist(const Release& release, const Options& options,
                         const CodePage& codePage = CodePage::System());
