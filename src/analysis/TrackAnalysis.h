#pragma once

#include "analysis/ChecksumJob.h"
#include "analysis/ReaderSet.h"
#include "analysis/ReleaseModel.h"
#include "platform/CodePage.h"

#include <QDate>
#include <functional>

struct AnalysisOptions {
  QDate Today = QDate::currentDate();  // becomes PostDate
  ChecksumProgressCallback OnChecksum;
};

// Turns Scan.TrackList into track rows and the release summary, reading every file with the tag
// readers and the stream reader of the dominant format, then computes the checksums when
// Opts.AutoCrc is on. Uses the process-wide locale and code page. A FLAC file that cannot be
// opened, or a file whose checksum cannot be computed, stops the analysis with the FileError;
// the rows and summary keep what was filled so far and AnalysisDone stays as it was.
void AnalyseTracks(ReleaseModel& model, ReaderSet& readers, const AnalysisOptions& options = {});

// The checksum pass over all rows: CRC-32 for the kind "SFV", MD5 for "MD5", an empty text for
// any other kind. Runs a ChecksumJob and waits for it, reporting each file on the calling thread
// in track order. Throws FileError "Cannot open file %s" for a file it cannot read, with the rows
// before it filled.
void ComputeChecksums(ReleaseModel& model, const ChecksumProgressCallback& onChecksum = {});

// Tag texts: ID3v2 and APE values are UTF-8 when they are valid UTF-8, and otherwise in the 8-bit
// code page that older taggers wrote.
QString DecodeTagText(const QByteArray& bytes, const CodePage& codePage);
