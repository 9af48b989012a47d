#pragma once

#include "analysis/ReaderSet.h"
#include "analysis/ReleaseModel.h"
#include "platform/UserLocale.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The five texts a tag gives a track and the summary.
struct TagTexts {
  QString Artist, Title, Album, Year, Genre;
};

// What one track's stream gives its row and the release summary, whatever the format. This is
// the one place where the four stream readers are told apart: the analysis and the summary only
// ever see the description.
struct StreamDescription {
  StreamValues Values;  // the reader's own values, as reports show them

  // The row's stream columns and the summary may use the description.
  bool Usable() const { return Values.Read && Values.Valid; }

  // MPEG audio rounds the playing time to whole seconds (halves to even); the others cut the
  // fraction off.
  bool RoundsSeconds = false;
  // The average is a compression ratio in percent instead of a bit rate in kbit/s.
  bool Lossless = false;
  QString BitrateText;  // the row's "Bitrate" column

  QString VersionText;
  QString SampleRateText;
  // Empty for a channel count the summary has no name for: the field then keeps its text.
  std::optional<QString> ChannelsText;
  QString EncoderText;
  double Rate = 0;  // added to the rate sum: the bit rate or the compression ratio
  // The quality label for an average of the rate sum, given the label shown so far.
  std::function<QString(int64_t average, const QString& current)> Quality;

  // The format's own tag (FLAC's Vorbis comment) when its artist is set: it comes after the
  // summary update and wins over every other tag.
  std::optional<TagTexts> OwnTag;
};

// Reads the track with the stream reader of its format. A FLAC file that cannot be opened throws
// FileError "Cannot open file %s"; every other failure gives a description that is not usable.
StreamDescription ReadStreamDescription(AudioFormat format, ReaderSet& readers, const QString& path,
                                        const UserLocale& locale);
