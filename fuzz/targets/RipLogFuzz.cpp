#include "FuzzSupport.h"

#include "extras/LogMatch.h"
#include "extras/PcmChecksums.h"
#include "extras/ReleaseExtras.h"
#include "extras/RipLog.h"

#include <QDir>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

namespace {

bool IsCrcText(const QString& text) {
  if (text.isEmpty())
    return true;
  if (text.size() != 8)
    return false;
  for (const QChar ch : text) {
    const bool digit = (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
                       (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'));
    if (!digit)
      return false;
  }
  return true;
}

void CheckLog(const RipLog& log) {
  fuzzing::Require(log.Tracks.size() <= 99, "more than 99 tracks in one log");
  fuzzing::Require(IsCrcText(log.RangeCopyCrc), "a range CRC that is not 8 hex digits");
  std::set<int> numbers;
  for (const RipLogTrack& track : log.Tracks) {
    fuzzing::Require(track.Number >= 1 && track.Number <= 99, "a track number out of 1..99");
    fuzzing::Require(numbers.insert(track.Number).second, "a track number listed twice");
    fuzzing::Require(IsCrcText(track.TestCrc) && IsCrcText(track.CopyCrc) &&
                         IsCrcText(track.CopyCrcSkipZero) && IsCrcText(track.ArV1) &&
                         IsCrcText(track.ArV2),
                     "a checksum that is not 8 upper-case hex digits");
    fuzzing::Require(track.Errors.size() <= 100, "an unbounded error list");
  }
  fuzzing::Require(log.Errors.size() <= 100, "an unbounded error list");
}

// Three tracks of audio made from the input, so that matching meets CRCs the log may name.
std::vector<TrackPcm> AudioFrom(const uint8_t* data, size_t size) {
  std::vector<TrackPcm> audio;
  for (int t = 0; t < 3; ++t) {
    PcmChecksums sums(t == 0, t == 2);
    const size_t frames = size / 4;
    std::vector<int16_t> samples(frames * 2);
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8) ^ int16_t(t);
    sums.Add(samples.data(), frames);
    if (t != 1)  // a track whose audio could not be decoded
      audio.push_back({sums.Finish()});
    else
      audio.push_back({});
  }
  return audio;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzzing::BytesOf(data, size);
  const std::vector<RipLog> logs = ParseRipLogs(bytes);
  fuzzing::Require(logs.size() <= 16, "more than 16 logs in one file");
  const std::vector<TrackPcm> audio = AudioFrom(data, size);
  for (const RipLog& log : logs) {
    CheckLog(log);
    const LogMatch match = MatchLog(log, audio);
    fuzzing::Require(match.Tracks.size() == log.Tracks.size(), "a log track left unmatched");
    for (const LogTrackMatch& track : match.Tracks) {
      fuzzing::Require(track.MatchesOtherIndex >= -1 && track.MatchesOtherIndex < 3,
                       "a match with a file the release does not have");
      fuzzing::Require(!(track.CrcMatch == true && track.MatchesOtherIndex >= 0),
                       "a track that matches its own file and another");
    }
  }

  // The same bytes as a file in a release folder, the way the scan meets them.
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("release/rip.log"), data, size);
  fuzzing::Require(ReadRipLogs(path).size() == logs.size(), "the file read differently");
  const bool isLog = IsRipLogFile(path);
  fuzzing::Require(isLog == RipperOfLogStart(bytes).has_value(), "the sniff read differently");
  const ReleaseExtras extras =
      FindExtras(QDir(fuzzing::ScratchFolder()).filePath(QStringLiteral("release")));
  fuzzing::Require(extras.Logs.contains(QStringLiteral("rip.log")) == isLog,
                   "the extras disagree with the sniff");
  return 0;
}
