#pragma once

#include "model/Options.h"
#include "model/Release.h"

#include <QLocale>
#include <QString>

// Releases built in code for the output tests: no audio is analysed, every value is fixed.

// A release together with the options its outputs are written with.
struct ReleaseWithOptions : Release {
  Options Opts;
};

// Pins the process locale (and with it the code page) for one test and restores the English
// locale the test main starts in.
class PinnedLocale {
 public:
  explicit PinnedLocale(const QLocale& locale);
  ~PinnedLocale();
  PinnedLocale(const PinnedLocale&) = delete;
  PinnedLocale& operator=(const PinnedLocale&) = delete;
};

// A row as the analysis leaves it, in the given folder.
TrackRecord Row(const QString& folder, const QString& fileName, const QString& artist,
                const QString& title, const QString& duration, const QString& seconds,
                const QString& checksum);

// One artist, MP3, three tracks (the last one too long to pad), three selected groups, a
// three-line note, the advert footer, SFV, PLS and M3U in the 8-bit form. English locale.
ReleaseWithOptions SingleArtistRelease(const QString& folder);

// Various artists, NMR, FLAC, two tracks with characters outside code page 1250, no note, no
// advert, no cover, no selected group, MD5, PLS and M3U in the Unicode form. Polish locale.
ReleaseWithOptions VariousArtistsNmrRelease(const QString& folder);

// One plain track "Abc - Def" with all options off, for tests that change a single value.
ReleaseWithOptions PlainRelease(const QString& folder);
