#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class FileStream;

// Where the tags of a track lie, as the tag readers found them. The analysis reads the tags of a
// track once and hands their extents to the stream reader, which then needs no tag reader of its
// own to find the audio.
struct TagExtents {
  int64_t Id3v2Size = 0;  // bytes from the start of the file to the end of the ID3v2 tag; 0 without
  bool Id3v1Exists = false;
  int64_t Id3v1TotalSize = 0;  // ID3v1 tag and Lyrics3 block at the end; 0 without
  bool ApeTagExists = false;
  int64_t ApeTagSize = 0;  // the APE footer's size field (items and footer); 0 without
};

// The texts of a tag the stream format carries itself (FLAC's and Ogg's Vorbis comment, MP4's
// item list).
struct OwnTagTexts {
  QString Artist, Title, Album, Year, Genre, AlbumArtist;
};

// What a stream gives its row, the release summary and reports, whatever the format: every
// reader describes itself in these terms, so the analysis and the summary never tell formats
// apart.
struct StreamFacts {
  // The coding as reports name it: "MPEG-1 Layer III", "Musepack SV7", "FLAC", "Opus", "AAC LC" …
  QString Codec;
  int Channels = 0;
  std::optional<int> BitsPerSample;  // lossless and PCM-based codings only

  // Exactly one of the two is set for a usable stream: lossy streams state a bit rate in kbit/s,
  // lossless ones the compression ratio in percent of the uncompressed size.
  std::optional<int> BitRate;
  std::optional<double> Ratio;
  bool Lossless() const { return Ratio.has_value(); }

  // Put before the bit rate in the track row ("VBR " or "CBR " for MPEG audio).
  QString BitratePrefix;
  // The playing time in whole seconds is rounded (halves to even) instead of cut.
  bool RoundsSeconds = false;

  // The summary's stream texts.
  QString VersionText;
  QString SampleRateText;
  // Unset for a channel layout the summary has no name for: the field then keeps its text.
  std::optional<QString> ChannelsText;
  QString EncoderText;

  // How the quality label follows from the average of the rate sum.
  enum class QualityRule { Fixed, MpegLadder, MusepackLadder };
  QualityRule Quality = QualityRule::Fixed;
  QString QualityLabel;  // the label of QualityRule::Fixed

  // The format's own tag: its name in the summary ("VorbisComment", "MP4"; empty when the format
  // has none) and its texts when its artist is set (such a tag wins over every other tag).
  QString OwnTagName;
  std::optional<OwnTagTexts> OwnTag;
};

// The summary's words for a channel count: "Unknown", "Mono", "Stereo"; unset for more channels.
std::optional<QString> ChannelCountText(int channels);
// The sample rate as lossless formats show it: "44100 HZ / 16 Bit".
QString LosslessSampleRateText(int sampleRate, int bitsPerSample);

// The contract every stream reader keeps. ReadFromFile resets the reader, then reads the file;
// its result means the file could be opened and probed, not that the stream is usable: callers
// use the values only when ReadFromFile and Valid are both true.
class StreamReader {
 public:
  virtual ~StreamReader() = default;

  // Opens the file, finds its tags itself and reads the stream.
  virtual bool ReadFromFile(const QString& fileName) = 0;
  // Reads the stream from a file the caller has open already, whose tags it has read.
  virtual bool ReadFromStream(const FileStream& stream, const TagExtents& tags) = 0;
  virtual void ResetData() = 0;

  virtual bool Valid() const = 0;
  virtual int64_t FileSize() const = 0;
  virtual double Duration() const = 0;  // seconds
  virtual int SampleRate() const = 0;   // Hz

  // Meaningful only when Valid.
  virtual StreamFacts Describe() const = 0;

 protected:
  // ReadFromFile of a format whose stream may only follow an ID3v2 tag: the file opened, the
  // tag's size taken, the stream read; false, the reader reset, when the file cannot be read.
  bool ReadFromFileAfterId3v2(const QString& fileName);
};
