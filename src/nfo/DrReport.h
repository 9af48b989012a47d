#pragma once

#include "model/AudioFigures.h"

#include <QDateTime>
#include <QStringList>
#include <span>

// The dynamic range report in the layout of the DR meter's logs, which people and tools read:
// a header with the program and the date, one line per track
//   "DR12      -0.10 dB   -14.52 dB      3:25 01-Name.flac"
// then the track count, the official DR value and the stream's format. Numbers always take a "."
// for the decimal point, whatever the user's locale. `trackNames` pairs with `tracks` (a missing
// name is empty); `logDate` is the local time printed in the header.
QStringList DrReportLines(std::span<const AudioFigures> tracks, const QStringList& trackNames,
                          const AlbumAudioFigures& album, const QDateTime& logDate);
