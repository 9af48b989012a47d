#pragma once

#include "readers/StreamReader.h"

#include <QString>
#include <array>
#include <memory>
#include <span>
#include <string_view>

// Every audio format the program reads, in one table: the scan, the mixed-format warning, the
// analysis, the summary, the composer and the reports all look a format up here, and nothing
// else tells formats apart.
enum class AudioFormat { Mp3, Mpc, Ape, Flac, WavPack, Mp4, Opus, Vorbis };

// Which tags a format's files carry: the tag readers run only for those.
enum TagKind : unsigned {
  kId3v1Tag = 1,
  kId3v2Tag = 2,
  kApeTag = 4,
};

struct FormatInfo {
  AudioFormat Id;
  // The scan's mask and the reports' key ("mp3"); the first of the extensions.
  std::string_view Key;
  std::array<std::string_view, 2> Extensions;  // compared without regard to case
  std::string_view WarningLabel;               // its row in the mixed-format warning
  std::string_view Name;                       // in messages: "MP3", "FLAC" …
  unsigned Tags = 0;                           // TagKind bits
  // A file of this format that cannot be opened stops the analysis with its open error, instead
  // of being passed over.
  bool OpenFailureStops = false;
  // When two formats have as many files, the higher rank is the release's format.
  int TieRank = 0;
  std::unique_ptr<StreamReader> (*MakeReader)();
};

// The formats in the order the scan walks them and reports count them.
std::span<const FormatInfo> AudioFormats();
const FormatInfo& FormatOf(AudioFormat format);
inline constexpr size_t kFormatCount = 8;
constexpr size_t FormatIndex(AudioFormat format) {
  return static_cast<size_t>(format);
}
QString FormatKey(AudioFormat format);
// The format whose extension the file name ends in, if any.
const FormatInfo* FormatOfFileName(const QString& fileName);
