#pragma once

#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"

#include <QString>
#include <QStringList>
#include <span>

// PLS and extended M3U playlists of the tracks, in track order, naming each file by its bare name
// (they sit in the folder of the audio files).

QStringList PlsLines(std::span<const TrackRecord> rows);
QStringList M3uLines(std::span<const TrackRecord> rows);

// "<base>.pls" / "<base>.m3u" in the form the options select; one in every disc folder of a
// release of several discs, of that disc's files. The 8-bit form is skipped silently
// when it cannot be written; the Unicode form throws FileError "Cannot create file %s". Return
// the paths written.
QStringList WritePlsPlaylist(const Release& release, const Options& options,
                             const CodePage& codePage = CodePage::System());
QStringList WriteM3uPlaylist(const Release& release, const Options& options,
                             const CodePage& codePage = CodePage::System());
