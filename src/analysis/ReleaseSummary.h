#pragma once

#include "analysis/ReleaseModel.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"

#include <QDate>

// The running values of one analysis; all start at 0.
struct SummaryTotals {
  double SizeMiB = 0;  // all tracks, from the size pass
  double Seconds = 0;  // tracks with a readable stream
  double RateSum = 0;  // bit rates or compression ratios of those tracks
};

// Sizes are shown in MiB ("3.34 MB" for 3,500,000 bytes).
double BytesToMiB(int64_t bytes);

// Empties the analysed fields of page 2 and the checksum progress. Nmr, Source, RipperProgram,
// Drive and VariousArtists are the user's and stay.
void ClearSummary(ReleaseModel& model);

struct StreamDescription;

// Folds one track with a usable stream into the summary. trackCount is the number of files counted
// so far, readable or not, so the average is the rate sum over the files up to this one.
void UpdateSummary(ReleaseSummary& summary, SummaryTotals& totals, int trackCount,
                   const StreamDescription& stream, const UserLocale& locale);

// Various artists, the post date and the output base name, after the last track.
void FinishSummary(ReleaseModel& model, const QDate& today, const CodePage& codePage);

// The file-name template with row 0's artist, album and title in place of "%author%",
// "%album%" and "%title%", replaced in that order on 8-bit text, so characters outside the code
// page become "?". Path separators and control characters become "_": tags never lead the output
// files out of the analysed folder.
QString ExpandFileNameTemplate(const QString& fileNameTemplate, const TrackRecord& firstRow,
                               const CodePage& codePage);

// Quality labels of the two ladders for an average bit rate. The Musepack ladder leaves the
// label as it was at 32 and below: `current` is returned then.
QString MpegQuality(int64_t average);
QString MusepackQuality(int64_t average, const QString& current);
