#include "readers/Musepack.h"

#include "platform/ByteView.h"
#include "platform/FileStream.h"
#include "readers/KbpsRounding.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>

namespace {

constexpr int kHeaderLength = 32;
constexpr int kSamplesPerFrame = 1152;
constexpr int kID3v1Length = 128;
// Versions 4 to 6 store no sample rate: every such stream is CD audio.
constexpr int kOldStreamSampleRate = 44100;

constexpr uint32_t kStreamVersion7Marker = 0x072B504D;   // "MP+" and 0x07
constexpr uint32_t kStreamVersion71Marker = 0x172B504D;  // "MP+" and 0x17

constexpr uint8_t kUnknownMode = 0;
constexpr uint8_t kStereo = 1;
constexpr uint8_t kJointStereo = 2;

constexpr std::array<std::string_view, 3> kChannelModeNames = {"Unknown", "Stereo", "Joint Stereo"};
constexpr std::array<std::string_view, 13> kProfileNames = {
    "Unknown",     "Thumb",     "Radio",       "Standard",     "Xtreme",
    "Insane",      "BrainDead", "--quality 9", "--quality 10", "--quality 0",
    "--quality 1", "Telephone", "Experimental"};
// ProfileID by the high nibble of header byte 10 in versions 7 and 7.1.
constexpr std::array<uint8_t, 16> kProfileByNibble = {0, 12, 0, 0, 0, 9, 10, 11,
                                                      1, 2,  3, 4, 5, 6, 7,  8};
// Hz by the low two bits of header byte 10 in versions 7 and 7.1.
constexpr std::array<int, 4> kSampleRates = {44100, 48000, 37800, 32000};

QString Name(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

uint32_t Word(QByteArrayView header, int index) {
  return bytes::LE32(header, index * 4);
}

bool IsVersion7(uint8_t version) {
  return version == 7 || version == 71;
}

uint8_t DecodeStreamVersion(QByteArrayView header) {
  if (Word(header, 0) == kStreamVersion7Marker)
    return 7;
  if (Word(header, 0) == kStreamVersion71Marker)
    return 71;
  switch ((bytes::U8(header, 1) % 32) / 2) {
    case 3:
      return 4;
    case 7:
      return 5;
    case 11:
      return 6;
    default:
      return 0;
  }
}

int DecodeSampleRate(QByteArrayView header, uint8_t version) {
  if (!IsVersion7(version))
    return kOldStreamSampleRate;
  return kSampleRates[bytes::U8(header, 10) & 3];
}

uint8_t DecodeChannelModeID(QByteArrayView header, uint8_t version) {
  if (IsVersion7(version))
    return (bytes::U8(header, 11) & 0x40) != 0 ? kJointStereo : kStereo;
  return (bytes::U8(header, 2) & 0x7F) != 0 ? kJointStereo : kStereo;
}

int64_t DecodeFrameCount(QByteArrayView header, uint8_t version) {
  if (version == 4)
    return Word(header, 1) >> 16;
  return Word(header, 1);
}

uint16_t DecodeHeaderBitRate(QByteArrayView header, uint8_t version) {
  if (version == 4 || version == 5)
    return static_cast<uint16_t>(Word(header, 0) >> 23);
  return 0;
}

uint8_t DecodeProfileID(QByteArrayView header, uint8_t version) {
  if (!IsVersion7(version))
    return 0;
  return kProfileByNibble[bytes::U8(header, 10) >> 4];
}

// Byte 27 codes the encoder version: tens end in 0 for releases, even digits for betas and odd
// ones for alphas (110 is 1.1 Release, 116 is 1.16 Beta, 115 is 1.15 --Alpha--).
QString EncoderText(uint8_t code) {
  if (code == 0)
    return {};
  const unsigned major = code / 100;
  if (code % 10 == 0)
    return QString::asprintf("%u.%u Release", major, (code / 10) % 10u);
  if (code % 2 == 0)
    return QString::asprintf("%u.%.2u Beta", major, code % 100u);
  return QString::asprintf("%u.%.2u --Alpha--", major, code % 100u);
}

// The file less its tags. The APE size is the footer's field as stored; one larger than what is
// left of the file is damaged and left out, so that it cannot drive the bit rate below zero.
int64_t AudioBytes(int64_t fileSize, int64_t id3v2Size, int64_t apeSize, int64_t id3v1Size) {
  const int64_t untagged = std::max<int64_t>(fileSize - id3v2Size - id3v1Size, 0);
  return apeSize <= untagged ? untagged - apeSize : untagged;
}

}  // namespace

void TMPEGplus::ResetData() {
  data_ = Data();
  id3v1_.ResetData();
  id3v2_.ResetData();
  apeTag_.ResetData();
}

bool TMPEGplus::ReadFromFile(const QString& fileName) {
  ResetData();
  try {
    const FileStream stream(fileName);
    TagExtents tags;
    if (id3v2_.ReadFromStream(stream))
      tags.Id3v2Size = id3v2_.Size();
    // Version 8 needs to know where its audio ends before its packets are walked.
    if (tags.Id3v2Size >= 0 && id3v1_.ReadFromStream(stream) && apeTag_.ReadFromStream(stream)) {
      tags.Id3v1Exists = id3v1_.Exists();
      tags.Id3v1TotalSize = id3v1_.TotalSize();
      tags.ApeTagExists = apeTag_.Exists();
      tags.ApeTagSize = apeTag_.Size();
    }
    if (!ReadHeader(stream, tags)) {
      ResetData();
      return false;
    }
    if (!data_.valid) {
      id3v1_.ResetData();
      apeTag_.ResetData();
    }
    return true;
  } catch (const std::exception&) {
    ResetData();
    return false;
  }
}

bool TMPEGplus::ReadFromStream(const FileStream& stream, const TagExtents& tags) {
  ResetData();
  try {
    if (ReadHeader(stream, tags))
      return true;
  } catch (const std::exception&) {
  }
  ResetData();
  return false;
}

bool TMPEGplus::ReadHeader(const FileStream& stream, const TagExtents& tags) {
  data_.tags = tags;
  const int64_t headerOffset = tags.Id3v2Size;
  QByteArray header(kHeaderLength, '\0');
  const int64_t fileSize = stream.Size();
  data_.fileSize = fileSize;
  if (ReadVersion8(stream, tags))
    return true;
  data_.fileSize = 0;
  if (stream.ReadAt(headerOffset, header.data(), kHeaderLength) != kHeaderLength)
    return false;
  const uint8_t version = DecodeStreamVersion(header);
  if (fileSize > 0 && version != 0) {
    data_.valid = true;
    data_.sampleRate = DecodeSampleRate(header, version);
    data_.channelModeID = DecodeChannelModeID(header, version);
    data_.fileSize = fileSize;
    data_.frameCount = DecodeFrameCount(header, version);
    data_.headerBitRate = DecodeHeaderBitRate(header, version);
    data_.streamVersion = version;
    data_.profileID = DecodeProfileID(header, version);
    data_.encoder = EncoderText(bytes::U8(header, 27));
  }
  return true;
}

QString TMPEGplus::ChannelMode() const {
  if (data_.streamVersion == 8)
    return data_.sv8.ChannelMode();
  return data_.channelModeID < kChannelModeNames.size()
             ? Name(kChannelModeNames[data_.channelModeID])
             : Name(kChannelModeNames[kUnknownMode]);
}

QString TMPEGplus::Profile() const {
  return data_.profileID < kProfileNames.size() ? Name(kProfileNames[data_.profileID])
                                                : Name(kProfileNames[0]);
}

// The end of the audio: the start of the tags at the end of the file.
int64_t TMPEGplus::AudioEnd() const {
  const int64_t untagged = data_.fileSize - (data_.tags.Id3v1Exists ? kID3v1Length : 0);
  return data_.tags.ApeTagSize <= untagged ? untagged - data_.tags.ApeTagSize : untagged;
}

bool TMPEGplus::ReadVersion8(const FileStream& stream, const TagExtents& tags) {
  MusepackSV8Header header;
  if (!ReadMusepackSV8(stream, tags.Id3v2Size, AudioEnd(), header))
    return false;
  // A stream whose header is missing or damaged, or that holds no sample, is read but names no
  // usable stream: the fields stay reset, as for any unknown version.
  if (!header.Found || header.SampleRate <= 0 || header.Duration() <= 0) {
    data_ = Data();
    return true;
  }
  data_.sv8 = header;
  data_.streamVersion = 8;
  data_.sampleRate = header.SampleRate;
  data_.encoder = header.EncoderVersion;
  data_.valid = true;
  return true;
}

int TMPEGplus::BitRate() const {
  if (data_.streamVersion == 8) {
    const double seconds = data_.sv8.Duration();
    return seconds > 0 ? RoundKbps(static_cast<double>(data_.sv8.AudioBytes) * 8 / seconds / 1000)
                       : 0;
  }
  if (data_.headerBitRate != 0)
    return data_.headerBitRate;
  if (data_.frameCount <= 0)
    return 0;
  const double audioBytes =
      static_cast<double>(AudioBytes(data_.fileSize, data_.tags.Id3v2Size, data_.tags.ApeTagSize,
                                     data_.tags.Id3v1Exists ? kID3v1Length : 0));
  const double kbps =
      audioBytes * 8 * (data_.sampleRate / 1000.0) / data_.frameCount / kSamplesPerFrame;
  return RoundKbps(kbps);
}

double TMPEGplus::Duration() const {
  if (data_.streamVersion == 8)
    return data_.sv8.Duration();
  if (data_.sampleRate <= 0)
    return 0;
  return static_cast<double>(data_.frameCount) * kSamplesPerFrame / data_.sampleRate;
}

StreamFacts TMPEGplus::Describe() const {
  StreamFacts facts;
  const uint8_t version = data_.streamVersion;
  facts.Codec = version == 71 ? QStringLiteral("Musepack SV7.1")
                              : QStringLiteral("Musepack SV") + QString::number(version);
  facts.Channels = version == 8 ? data_.sv8.Channels : 2;
  facts.BitRate = BitRate();
  facts.VersionText = QStringLiteral("MP+ v") + QString::number(version);
  // Versions 4 to 7 are shown at CD rate, as they always were; version 8 states its own rate.
  facts.SampleRateText = version == 8 ? QString::number(data_.sampleRate) + QStringLiteral(" hz")
                                      : QStringLiteral("44100 hz");
  facts.ChannelsText = ChannelMode();
  facts.EncoderText = QStringLiteral("MusePack (MPC)");
  facts.Quality = StreamFacts::QualityRule::MusepackLadder;
  return facts;
}
