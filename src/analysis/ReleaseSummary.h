#pragma once

#include "model/Release.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"
#include "readers/StreamReader.h"

#include <QDate>

// The running values of one analysis; all start at 0.
struct SummaryTotals {
  double SizeMiB = 0;    // every track read so far, readable stream or not
  double Seconds = 0;    // tracks with a readable stream
  double RateSum = 0;    // bit rates or compression ratios of those tracks
  bool Updated = false;  // at least one track had a readable stream
};

// Sizes are shown in MiB ("3.34 MB" for 3,500,000 bytes).
double BytesToMiB(int64_t bytes);

// Empties the analysed fields of page 2. Nmr, Source, RipperProgram, Drive and VariousArtists are
// the user's and stay.
void ClearSummary(ReleaseSummary& summary);

// Folds one track with a usable stream into the summary. trackCount is the number of files counted
// so far, readable or not, so the average is the rate sum over the files up to this one.
void UpdateSummary(ReleaseSummary& summary, SummaryTotals& totals, int trackCount,
                   const StreamValues& values, const StreamFacts& facts, const UserLocale& locale);

// How output names are made: through the 8-bit code page, or with every character kept (the
// UTF-8 form of the text files).
enum class NameForm { EightBit, Unicode };

// After the last track: the total size of all tracks, the album artist the tracks agree on,
// various artists, the post date and the output base name.
void FinishSummary(Release& release, const SummaryTotals& totals, const QDate& today,
                   const CodePage& codePage, NameForm names = NameForm::EightBit);

// The file-name template with the release's artist, album and title in place of "%author%",
// "%album%" and "%title%", replaced in that order. In the 8-bit form the replacement is done on
// 8-bit text, so characters outside the code page become "?". Path separators and control
// characters become "_": tags never lead the output files out of the analysed folder.
QString ExpandFileNameTemplate(const QString& fileNameTemplate, const QString& artist,
                               const QString& album, const QString& title, const CodePage& codePage,
                               NameForm names = NameForm::EightBit);

// Quality labels of the two ladders for an average bit rate. The Musepack ladder leaves the
// label as it was at 32 and below: `current` is returned then.
QString MpegQuality(int64_t average);
QString MusepackQuality(int64_t average, const QString& current);
