#pragma once

#include "extras/PcmChecksums.h"
#include "extras/RipLog.h"

#include <QString>
#include <optional>
#include <vector>

// A rip log held against the release's decoded audio: does each track the log lists still carry
// the samples the ripper read?

// One track of the release, in track order: the checksums of its audio, or nothing when it
// could not be decoded.
struct TrackPcm {
  std::optional<PcmChecksums::Result> Sums;
};

struct LogTrackMatch {
  int Number = 0;                // the log's track number; audio index Number - 1 is its own file
  QString LogCrc;                // the log's copy CRC (its test CRC when it states no copy)
  QString AudioCrc;              // the own file's CRC, with or without null samples as the log says
  std::optional<bool> CrcMatch;  // nothing when either CRC is missing
  // The index of another track of the release whose audio has the log's CRC, when the own file
  // does not (a misnumbered or swapped file); -1 otherwise.
  int MatchesOtherIndex = -1;
  QString ArV1;  // AccurateRip checksums of the own file's audio, 8 upper-case digits
  QString ArV2;
  // Whether a checksum the log states for this track equals the one computed; nothing when the
  // log states none or the audio is missing.
  std::optional<bool> ArMatch;
};

struct LogMatch {
  std::vector<LogTrackMatch> Tracks;  // one per track of the log, in the log's order
  // Indices of release tracks whose audio matches no CRC of the log.
  std::vector<int> UnmatchedAudio;
};

// The CRC as the checksum lists and logs write it: 8 upper-case hexadecimal digits.
QString CrcText(uint32_t crc);

LogMatch MatchLog(const RipLog& log, const std::vector<TrackPcm>& audio);
