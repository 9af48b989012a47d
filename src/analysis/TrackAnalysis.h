#pragma once

#include "analysis/ReaderSet.h"
#include "analysis/ReleaseModel.h"
#include "analysis/ReleaseSummary.h"
#include "platform/CodePage.h"

#include <QDate>
#include <cstddef>

// The track pass of one analysis: Scan.TrackList becomes track rows and the release summary, one
// track at a time, so that a window can repaint between files. Every file is read with the three
// tag readers and the stream reader of the dominant format. Uses the process-wide locale and
// code page.
class TrackAnalysis {
 public:
  // Clears the summary, adds one fresh row per path and runs the size and date pass.
  TrackAnalysis(ReleaseModel& model, ReaderSet& readers);

  bool AtEnd() const { return next_ >= model_.Tracks.size(); }
  int TracksRead() const { return static_cast<int>(next_); }
  int TrackCount() const { return static_cast<int>(model_.Tracks.size()); }

  // Reads the next track into its row and the summary. A FLAC file that cannot be opened throws
  // FileError "Cannot open file %s"; the rows and the summary keep what was filled before it.
  void ReadNextTrack();
  // After the last track: various artists, the post date (today) and the output base name.
  void Finish(const QDate& today);

 private:
  // Tag-version texts carried from one track to the next: a file the tag readers cannot open
  // keeps those of the track before it.
  struct TagVersionTexts {
    QString Id3v1;
    QString Id3v2;
    QString Ape;
  };

  ReleaseModel& model_;
  ReaderSet& readers_;
  SummaryTotals totals_;
  TagVersionTexts texts_;
  size_t next_ = 0;
};

// Tag texts: ID3v2 and APE values are UTF-8 when they are valid UTF-8, and otherwise in the 8-bit
// code page that older taggers wrote.
QString DecodeTagText(const QByteArray& bytes, const CodePage& codePage);
