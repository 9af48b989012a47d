#include "readers/Formats.h"

#include "readers/FLACfile.h"
#include "readers/MP4file.h"
#include "readers/MPEGaudio.h"
#include "readers/Monkey.h"
#include "readers/Musepack.h"
#include "readers/OggFile.h"
#include "readers/WavPack.h"

namespace {

template <class Reader>
std::unique_ptr<StreamReader> Make() {
  return std::make_unique<Reader>();
}

constexpr unsigned kClassicTags = kId3v1Tag | kId3v2Tag | kApeTag;

// A tie between the classic formats goes to the later one in the order mp3, mpc, ape, flac; a tie
// with a format added since goes to the classic one; among the added ones the earlier in the
// table wins.
// clang-format off
constexpr std::array<FormatInfo, kFormatCount> kFormats = {{
    {AudioFormat::Mp3, "mp3", {"mp3", {}}, "MPEG Layer 3 (mp3):", "MP3",
     kClassicTags, false, 5, &Make<TMPEGaudio>},
    {AudioFormat::Mpc, "mpc", {"mpc", {}}, "Muse Pack (mpc):", "Musepack",
     kClassicTags, false, 6, &Make<TMPEGplus>},
    {AudioFormat::Ape, "ape", {"ape", {}}, "Monkey's Audio (ape):", "Monkey's Audio",
     kClassicTags, false, 7, &Make<TMonkey>},
    {AudioFormat::Flac, "flac", {"flac", {}}, "Free Lossless Audio Codec (flac):", "FLAC",
     kClassicTags, true, 8, &Make<TFLACfile>},
    {AudioFormat::WavPack, "wv", {"wv", {}}, "WavPack (wv):", "WavPack",
     kId3v1Tag | kApeTag, false, 4, &Make<TWavPack>},
    {AudioFormat::Mp4, "m4a", {"m4a", "mp4"}, "MPEG-4 AAC/ALAC (m4a):", "AAC or ALAC",
     0, false, 3, &Make<TMP4file>},
    {AudioFormat::Opus, "opus", {"opus", {}}, "Ogg Opus (opus):", "Opus",
     0, false, 2, &Make<TOggFile>},
    {AudioFormat::Vorbis, "ogg", {"ogg", "oga"}, "Ogg Vorbis (ogg):", "Ogg Vorbis",
     0, false, 1, &Make<TOggFile>},
}};
// clang-format on

// Every format stands at its own place, so that the per-format tables can be indexed by it.
constexpr bool EveryFormatAtItsPlace() {
  for (size_t i = 0; i < kFormats.size(); ++i) {
    if (FormatIndex(kFormats[i].Id) != i)
      return false;
  }
  return true;
}
static_assert(EveryFormatAtItsPlace());

QString Text(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::span<const FormatInfo> AudioFormats() {
  return kFormats;
}

const FormatInfo& FormatOf(AudioFormat format) {
  return kFormats[FormatIndex(format)];
}

QString FormatKey(AudioFormat format) {
  return Text(FormatOf(format).Key);
}

const FormatInfo* FormatOfFileName(const QString& fileName) {
  for (const FormatInfo& format : kFormats) {
    for (const std::string_view extension : format.Extensions) {
      if (!extension.empty() &&
          fileName.endsWith(QLatin1Char('.') + Text(extension), Qt::CaseInsensitive)) {
        return &format;
      }
    }
  }
  return nullptr;
}
