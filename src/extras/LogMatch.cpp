#include "extras/LogMatch.h"

namespace {

// The CRC of the audio in the way this log computed its own.
QString AudioCrcFor(const RipLog& log, const PcmChecksums::Result& sums) {
  return CrcText(log.NullSamplesInCrc ? sums.Crc : sums.CrcSkipZero);
}

QString LogCrcOf(const RipLogTrack& track) {
  return track.CopyCrc.isEmpty() ? track.TestCrc : track.CopyCrc;
}

}  // namespace

QString CrcText(uint32_t crc) {
  return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

LogMatch MatchLog(const RipLog& log, const std::vector<TrackPcm>& audio) {
  LogMatch match;
  std::vector<QString> audioCrcs(audio.size());
  for (size_t i = 0; i < audio.size(); ++i) {
    if (audio[i].Sums)
      audioCrcs[i] = AudioCrcFor(log, *audio[i].Sums);
  }

  for (const RipLogTrack& track : log.Tracks) {
    LogTrackMatch result;
    result.Number = track.Number;
    result.LogCrc = LogCrcOf(track);
    const int own = track.Number - 1;
    const bool hasOwn = own >= 0 && own < static_cast<int>(audio.size()) && audio[own].Sums;
    if (hasOwn) {
      const PcmChecksums::Result& sums = *audio[own].Sums;
      result.AudioCrc = audioCrcs[own];
      result.ArV1 = CrcText(sums.ArV1);
      result.ArV2 = CrcText(sums.ArV2);
      if (!track.ArV1.isEmpty() || !track.ArV2.isEmpty()) {
        result.ArMatch = (track.ArV1.isEmpty() || track.ArV1 == result.ArV1) &&
                         (track.ArV2.isEmpty() || track.ArV2 == result.ArV2);
      }
    }
    if (!result.LogCrc.isEmpty() && hasOwn)
      result.CrcMatch = result.LogCrc == result.AudioCrc;
    if (!result.LogCrc.isEmpty() && result.CrcMatch != true) {
      for (size_t i = 0; i < audioCrcs.size(); ++i) {
        if (static_cast<int>(i) != own && audioCrcs[i] == result.LogCrc) {
          result.MatchesOtherIndex = static_cast<int>(i);
          break;
        }
      }
    }
    match.Tracks.push_back(result);
  }

  for (size_t i = 0; i < audioCrcs.size(); ++i) {
    if (audioCrcs[i].isEmpty())
      continue;
    bool found = false;
    for (const RipLogTrack& track : log.Tracks)
      found = found || LogCrcOf(track) == audioCrcs[i];
    if (!found)
      match.UnmatchedAudio.push_back(static_cast<int>(i));
  }
  return match;
}
