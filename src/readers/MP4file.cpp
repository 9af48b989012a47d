#include "readers/MP4file.h"

#include "platform/ByteView.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "readers/KbpsRounding.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr int kMaxDepth = 16;
// Real files have a few dozen boxes outside the media data; a file of millions of tiny boxes is
// hostile and would cost a read for each.
constexpr int kMaxBoxes = 100000;
// The sample description of a sound track is a few hundred bytes.
constexpr int64_t kMaxSampleDescription = 64 * 1024;
constexpr int64_t kMaxItemText = 4096;
constexpr int kDataHeader = 8;  // type indicator and locale before an item's value
constexpr int kUtf8Text = 1;

constexpr std::array<int, 13> kAacRates = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                           22050, 16000, 12000, 11025, 8000,  7350};

struct Box {
  QByteArray type;
  int64_t start = 0;
  int64_t payload = 0;
  int64_t end = 0;

  int64_t PayloadSize() const { return end - payload; }
};

bool PlausibleType(QByteArrayView type) {
  return std::all_of(type.begin(), type.end(), [](char c) {
    const auto byte = static_cast<uint8_t>(c);
    return (byte >= 0x20 && byte <= 0x7E) || byte == 0xA9;  // "©nam" and the like
  });
}

// The box whose header lies at the start of `head` (8 or 16 bytes), at offset `start` of a parent
// that ends at parentEnd; nullopt for a header that cannot be one. A box never reaches past its
// parent: a larger size is cut to it.
std::optional<Box> ParseBoxHeader(QByteArrayView head, int64_t start, int64_t parentEnd) {
  if (head.size() < 8 || parentEnd - start < 8)
    return std::nullopt;
  uint64_t size = bytes::BE32(head, 0);
  int64_t headerLength = 8;
  if (size == 1) {
    if (head.size() < 16)
      return std::nullopt;
    size = static_cast<uint64_t>(bytes::BE32(head, 8)) << 32 | bytes::BE32(head, 12);
    headerLength = 16;
  } else if (size == 0) {
    size = static_cast<uint64_t>(parentEnd - start);  // up to the end of the parent
  }
  if (size < static_cast<uint64_t>(headerLength))
    return std::nullopt;
  Box box;
  box.type = head.sliced(4, 4).toByteArray();
  box.start = start;
  box.end = start + static_cast<int64_t>(
                        std::min<uint64_t>(size, static_cast<uint64_t>(parentEnd - start)));
  box.payload = std::min(start + headerLength, box.end);
  return box;
}

// Calls visit(box) for each child box in [start, end) of `bytes`.
template <typename Visit>
void ForEachBoxIn(QByteArrayView bytes, int64_t start, int64_t end, Visit visit) {
  end = std::min<int64_t>(end, bytes.size());
  int64_t position = start;
  for (int count = 0; position >= 0 && end - position >= 8 && count < kMaxBoxes; ++count) {
    const std::optional<Box> box = ParseBoxHeader(
        bytes.sliced(position, std::min<int64_t>(16, end - position)), position, end);
    if (!box)
      return;
    visit(*box);
    position = box->end;
  }
}

// An MPEG-4 descriptor: tag, a length of up to four 7-bit groups, the body.
struct Descriptor {
  uint8_t tag = 0;
  int64_t body = 0;
  int64_t end = 0;
};

std::optional<Descriptor> ReadDescriptor(QByteArrayView bytes, int64_t at, int64_t end) {
  if (at < 0 || end - at < 2)
    return std::nullopt;
  Descriptor descriptor;
  descriptor.tag = bytes::U8(bytes, at);
  int64_t length = 0;
  int64_t position = at + 1;
  for (int i = 0; i < 4; ++i) {
    if (position >= end)
      return std::nullopt;
    const uint8_t byte = bytes::U8(bytes, position++);
    length = length << 7 | (byte & 0x7F);
    if (!(byte & 0x80))
      break;
  }
  descriptor.body = position;
  descriptor.end = position + std::min(length, end - position);
  return descriptor;
}

// The first descriptor with `tag` among those in [start, end).
std::optional<Descriptor> FindDescriptor(QByteArrayView bytes, int64_t start, int64_t end,
                                         uint8_t tag) {
  int64_t position = start;
  while (const std::optional<Descriptor> descriptor = ReadDescriptor(bytes, position, end)) {
    if (descriptor->tag == tag)
      return descriptor;
    if (descriptor->end <= position)
      break;
    position = descriptor->end;
  }
  return std::nullopt;
}

class BitReader {
 public:
  explicit BitReader(QByteArrayView bytes) : bytes_(bytes) {}

  int64_t Left() const { return bytes_.size() * 8 - position_; }
  bool Overrun() const { return overrun_; }

  uint32_t Read(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      if (Left() <= 0) {
        overrun_ = true;
        return 0;
      }
      const uint8_t byte = bytes::U8(bytes_, position_ / 8);
      value = value << 1 | ((byte >> (7 - position_ % 8)) & 1);
      ++position_;
    }
    return value;
  }

 private:
  QByteArrayView bytes_;
  int64_t position_ = 0;
  bool overrun_ = false;
};

struct AacConfig {
  int objectType = 0;
  int coreRate = 0;
  int channelConfiguration = 0;
  bool sbr = false;
  bool ps = false;
  int extensionRate = 0;
};

int ReadObjectType(BitReader& bits) {
  const int type = static_cast<int>(bits.Read(5));
  return type == 31 ? 32 + static_cast<int>(bits.Read(6)) : type;
}

int ReadRate(BitReader& bits) {
  const uint32_t index = bits.Read(4);
  if (index == 15)
    return static_cast<int>(bits.Read(24));
  return index < kAacRates.size() ? kAacRates[index] : 0;
}

bool OneOf(int value, std::initializer_list<int> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// AudioSpecificConfig. SBR and PS are signalled either by the object type itself (5, 29) or,
// so that older decoders still play the core, by a sync extension after the core's config.
AacConfig ParseAudioSpecificConfig(QByteArrayView bytes) {
  BitReader bits(bytes);
  AacConfig config;
  config.objectType = ReadObjectType(bits);
  config.coreRate = ReadRate(bits);
  config.channelConfiguration = static_cast<int>(bits.Read(4));
  if (config.objectType == 5 || config.objectType == 29) {
    config.sbr = true;
    config.ps = config.objectType == 29;
    config.extensionRate = ReadRate(bits);
    config.objectType = ReadObjectType(bits);
    if (config.objectType == 22)
      bits.Read(4);  // extension channel configuration
  }
  if (bits.Overrun())
    return config;
  // The general audio configuration must be stepped over to reach a sync extension; without a
  // channel configuration it holds a program config element, and the walk stops there.
  if (!OneOf(config.objectType, {1, 2, 3, 4, 6, 7, 17, 19, 20, 21, 22, 23}))
    return config;
  bits.Read(1);  // frame length flag
  if (bits.Read(1))
    bits.Read(14);  // core coder delay
  const bool extensionFlag = bits.Read(1) != 0;
  if (config.channelConfiguration == 0)
    return config;
  if (config.objectType == 6 || config.objectType == 20)
    bits.Read(3);  // layer number
  if (extensionFlag) {
    if (config.objectType == 22)
      bits.Read(16);
    if (OneOf(config.objectType, {17, 19, 20, 23}))
      bits.Read(3);
    bits.Read(1);
  }
  if (OneOf(config.objectType, {17, 19, 20, 21, 22, 23}))
    bits.Read(2);  // error protection configuration
  if (config.sbr || bits.Overrun() || bits.Left() < 16 || bits.Read(11) != 0x2B7)
    return config;
  if (ReadObjectType(bits) != 5 || !bits.Read(1) || bits.Overrun())
    return config;  // an SBR extension that is declared absent
  const int extensionRate = ReadRate(bits);
  if (bits.Overrun())
    return config;
  config.sbr = true;
  config.extensionRate = extensionRate;
  if (bits.Left() >= 12 && bits.Read(11) == 0x548)
    config.ps = bits.Read(1) != 0 && !bits.Overrun();
  return config;
}

int ChannelsOfConfiguration(int configuration) {
  if (configuration >= 1 && configuration <= 6)
    return configuration;
  switch (configuration) {
    case 7:
    case 12:
    case 14:
      return 8;
    case 11:
      return 7;
    case 13:
      return 24;
    default:
      return 0;
  }
}

// A time as a box header gives it (version 0: 32-bit fields, version 1: 64-bit), in seconds;
// 0 when unknown.
double HeaderDuration(QByteArrayView payload) {
  const bool wide = bytes::U8(payload, 0) == 1;
  const uint32_t timescale = bytes::BE32(payload, wide ? 20 : 12);
  uint64_t units = 0;
  if (wide) {
    if (!bytes::Fits(payload, 24, 8))
      return 0;
    units = static_cast<uint64_t>(bytes::BE32(payload, 24)) << 32 | bytes::BE32(payload, 28);
    if (units == std::numeric_limits<uint64_t>::max())
      return 0;
  } else {
    if (!bytes::Fits(payload, 16, 4))
      return 0;
    units = bytes::BE32(payload, 16);
    if (units == std::numeric_limits<uint32_t>::max())
      return 0;
  }
  return timescale > 0 ? static_cast<double>(units) / timescale : 0;
}

// What one track tells of itself.
struct TrackInfo : TMP4file::SoundTrack {
  QByteArray handler;
};

void ReadEsds(QByteArrayView bytes, const Box& esds, TrackInfo& track) {
  // A full box: version and flags come first.
  const std::optional<Descriptor> es = FindDescriptor(bytes, esds.payload + 4, esds.end, 0x03);
  if (!es)
    return;
  const uint8_t flags = bytes::U8(bytes, es->body + 2);
  int64_t position = es->body + 3;
  if (flags & 0x80)
    position += 2;  // the stream it depends on
  if (flags & 0x40)
    position += 1 + bytes::U8(bytes, position);  // a URL
  if (flags & 0x20)
    position += 2;  // the OCR stream
  const std::optional<Descriptor> decoder = FindDescriptor(bytes, position, es->end, 0x04);
  if (!decoder)
    return;
  track.objectTypeIndication = bytes::U8(bytes, decoder->body);
  track.maxBitrate = bytes::BE32(bytes, decoder->body + 5);
  track.avgBitrate = bytes::BE32(bytes, decoder->body + 9);
  switch (track.objectTypeIndication) {
    case 0x40:  // MPEG-4 audio
      break;
    case 0x66:  // MPEG-2 AAC Main, LC, SSR: the same coding with a fixed object type
    case 0x67:
    case 0x68:
      track.audioObjectType = track.objectTypeIndication - 0x65;
      break;
    default:
      return;  // MP3, AC-3 and others in an "mp4a" entry
  }
  track.codec = TMP4file::CodecKind::Aac;
  const std::optional<Descriptor> specific =
      FindDescriptor(bytes, decoder->body + 13, decoder->end, 0x05);
  if (!specific)
    return;
  const AacConfig config =
      ParseAudioSpecificConfig(bytes.sliced(specific->body, specific->end - specific->body));
  track.audioObjectType = config.objectType;
  track.sbr = config.sbr;
  track.ps = config.ps;
  if (config.coreRate > 0)
    track.coreSampleRate = config.coreRate;
  const int rate = config.sbr
                       ? (config.extensionRate > 0 ? config.extensionRate : 2 * config.coreRate)
                       : config.coreRate;
  if (rate > 0)
    track.sampleRate = rate;
  if (const int channels = ChannelsOfConfiguration(config.channelConfiguration))
    track.channels = channels;
  // Parametric stereo makes two channels of one.
  if (config.ps && track.channels == 1)
    track.channels = 2;
}

void ReadAlacCookie(QByteArrayView bytes, const Box& box, TrackInfo& track) {
  // A full box before the 24 bytes of configuration; a few writers leave out version and flags.
  const int64_t at = box.PayloadSize() >= 28 ? box.payload + 4 : box.payload;
  if (!bytes::Fits(bytes, at, 24) || box.end - at < 24)
    return;
  TAlacConfig& alac = track.alac;
  alac.FrameLength = bytes::BE32(bytes, at);
  alac.CompatibleVersion = bytes::U8(bytes, at + 4);
  alac.BitDepth = bytes::U8(bytes, at + 5);
  alac.RiceHistoryMult = bytes::U8(bytes, at + 6);
  alac.RiceInitialHistory = bytes::U8(bytes, at + 7);
  alac.RiceLimit = bytes::U8(bytes, at + 8);
  alac.Channels = bytes::U8(bytes, at + 9);
  alac.MaxRun = bytes::BE16(bytes, at + 10);
  alac.MaxFrameBytes = bytes::BE32(bytes, at + 12);
  alac.AvgBitRate = bytes::BE32(bytes, at + 16);
  alac.SampleRate = bytes::BE32(bytes, at + 20);
  track.codec = TMP4file::CodecKind::Alac;
  if (alac.Channels > 0)
    track.channels = alac.Channels;
  if (alac.BitDepth > 0)
    track.bitsPerSample = alac.BitDepth;
  if (alac.SampleRate > 0 &&
      alac.SampleRate <= static_cast<uint32_t>(std::numeric_limits<int>::max()))
    track.sampleRate = static_cast<int>(alac.SampleRate);
}

// The codec boxes inside a sample entry; QuickTime puts them one level down in "wave".
void ReadCodecBoxes(QByteArrayView bytes, int64_t start, int64_t end, TrackInfo& track,
                    bool insideWave = false) {
  ForEachBoxIn(bytes, start, end, [&](const Box& box) {
    if (box.type == "esds" && track.sampleEntry == "mp4a")
      ReadEsds(bytes, box, track);
    else if (box.type == "alac" && track.sampleEntry == "alac")
      ReadAlacCookie(bytes, box, track);
    else if (box.type == "wave" && !insideWave)
      ReadCodecBoxes(bytes, box.payload, box.end, track, true);
  });
}

// The first entry of the sample description: an AudioSampleEntry with its codec boxes.
void ReadSampleDescription(QByteArrayView stsd, TrackInfo& track) {
  // Version and flags, then the entry count.
  ForEachBoxIn(stsd, 8, stsd.size(), [&, first = true](const Box& entry) mutable {
    if (!first)
      return;
    first = false;
    track.sampleEntry = entry.type;
    const QByteArrayView body = stsd.sliced(entry.payload, entry.PayloadSize());
    // Reserved bytes and the data reference index, then the sound description; QuickTime's
    // versions 1 and 2 append 16 and 36 bytes of their own.
    const int version = bytes::BE16(body, 8);
    track.channels = bytes::BE16(body, 16);
    track.bitsPerSample = bytes::BE16(body, 18);
    track.sampleRate = static_cast<int>(bytes::BE32(body, 24) >> 16);
    int64_t children = 28;
    if (version == 1) {
      children += 16;
    } else if (version == 2) {
      children += 36;
      const double rate = std::bit_cast<double>(static_cast<uint64_t>(bytes::BE32(body, 32)) << 32 |
                                                bytes::BE32(body, 36));
      track.sampleRate =
          std::isfinite(rate) && rate >= 0 && rate <= 1e9 ? static_cast<int>(rate) : 0;
      track.channels = static_cast<int>(std::min<uint32_t>(bytes::BE32(body, 40), 65535));
      track.bitsPerSample = static_cast<int>(std::min<uint32_t>(bytes::BE32(body, 48), 255));
    }
    ReadCodecBoxes(stsd, entry.payload + children, entry.end, track);
  });
}

// Walks the boxes of the file with one small read per box header; only the few boxes whose
// contents are needed are read.
class BoxWalker {
 public:
  explicit BoxWalker(const FileStream& stream) : stream_(stream) {}

  template <typename Visit>
  void Children(int64_t start, int64_t end, int depth, Visit visit) {
    if (depth > kMaxDepth)
      return;
    int64_t position = start;
    while (end - position >= 8 && visited_ < kMaxBoxes) {
      const QByteArray head = Read(position, std::min<int64_t>(16, end - position));
      const std::optional<Box> box = ParseBoxHeader(head, position, end);
      if (!box || !PlausibleType(box->type))
        return;
      ++visited_;
      visit(*box);
      position = box->end;
    }
  }

  QByteArray Payload(const Box& box, int64_t limit) const {
    return Read(box.payload, std::min(box.PayloadSize(), limit));
  }
  QByteArray Read(int64_t offset, int64_t count) const {
    QByteArray bytes(std::max<int64_t>(count, 0), '\0');
    const int64_t got = count > 0 ? stream_.ReadAt(offset, bytes.data(), count) : 0;
    bytes.resize(std::max<int64_t>(got, 0));
    return bytes;
  }

 private:
  const FileStream& stream_;
  int visited_ = 0;
};

struct ItemTexts {
  QString title, artist, album, year, genre, genreIndexName, albumArtist, encoder;
};

QString* TextSlot(ItemTexts& texts, QByteArrayView type) {
  if (type == "\xA9nam")
    return &texts.title;
  if (type ==
      "\xA9"
      "ART")
    return &texts.artist;
  if (type ==
      "\xA9"
      "alb")
    return &texts.album;
  if (type ==
      "\xA9"
      "day")
    return &texts.year;
  if (type == "\xA9gen")
    return &texts.genre;
  if (type == "aART")
    return &texts.albumArtist;
  if (type == "\xA9too")
    return &texts.encoder;
  return nullptr;
}

class MovieReader {
 public:
  MovieReader(const FileStream& stream, int64_t fileSize) : walker_(stream), fileSize_(fileSize) {}

  // False when no box starts the file at `start`.
  bool Read(int64_t start) {
    bool anyBox = false;
    walker_.Children(start, fileSize_, 0, [&](const Box& box) {
      anyBox = true;
      if (box.type == "mdat")
        mediaDataBytes_ += box.PayloadSize();  // never read: it can be gigabytes
      else if (box.type == "moov")
        ReadMovie(box);
    });
    return anyBox;
  }

  std::optional<TrackInfo> sound;
  double movieDuration = 0;
  ItemTexts texts;
  int64_t MediaDataBytes() const { return mediaDataBytes_; }

 private:
  void ReadMovie(const Box& moov) {
    walker_.Children(moov.payload, moov.end, 1, [&](const Box& box) {
      if (box.type == "mvhd") {
        movieDuration = HeaderDuration(walker_.Payload(box, 32));
      } else if (box.type == "trak") {
        TrackInfo track;
        ReadTrack(box, track);
        // The first sound track the program can read; else the first sound track at all.
        const bool better = !sound || (sound->codec == TMP4file::CodecKind::Unknown &&
                                       track.codec != TMP4file::CodecKind::Unknown);
        if (track.handler == "soun" && better)
          sound = std::move(track);
      } else if (box.type == "udta") {
        ReadUserData(box);
      }
    });
  }

  void ReadTrack(const Box& trak, TrackInfo& track) {
    walker_.Children(trak.payload, trak.end, 2, [&](const Box& mdia) {
      if (mdia.type != "mdia")
        return;
      walker_.Children(mdia.payload, mdia.end, 3, [&](const Box& box) {
        if (box.type == "mdhd")
          track.duration = HeaderDuration(walker_.Payload(box, 32));
        else if (box.type == "hdlr")
          track.handler = walker_.Payload(box, 12).mid(8, 4);
        else if (box.type == "minf")
          ReadMediaInformation(box, track);
      });
    });
  }

  void ReadMediaInformation(const Box& minf, TrackInfo& track) {
    walker_.Children(minf.payload, minf.end, 4, [&](const Box& stbl) {
      if (stbl.type != "stbl")
        return;
      walker_.Children(stbl.payload, stbl.end, 5, [&](const Box& box) {
        if (box.type == "stsd" && track.sampleEntry.isEmpty())
          ReadSampleDescription(walker_.Payload(box, kMaxSampleDescription), track);
      });
    });
  }

  void ReadUserData(const Box& udta) {
    walker_.Children(udta.payload, udta.end, 2, [&](const Box& meta) {
      if (meta.type != "meta")
        return;
      // Normally a full box; QuickTime's own has no version and flags, and starts with a
      // child's size, which is never 0 there.
      const int64_t children =
          bytes::BE32(walker_.Read(meta.payload, 4), 0) == 0 ? meta.payload + 4 : meta.payload;
      walker_.Children(children, meta.end, 3, [&](const Box& ilst) {
        if (ilst.type == "ilst")
          walker_.Children(ilst.payload, ilst.end, 4, [&](const Box& item) { ReadItem(item); });
      });
    });
  }

  void ReadItem(const Box& item) {
    QString* slot = TextSlot(texts, item.type);
    const bool genreIndex = item.type == "gnre";
    if (!slot && !genreIndex)
      return;
    bool taken = false;
    walker_.Children(item.payload, item.end, 5, [&](const Box& data) {
      if (data.type != "data" || taken)
        return;
      taken = true;
      const QByteArray value = walker_.Payload(data, kDataHeader + kMaxItemText);
      const uint32_t type = bytes::BE32(value, 0) & 0xFFFFFF;
      const QByteArrayView text =
          QByteArrayView(value).sliced(std::min<qsizetype>(kDataHeader, value.size()));
      if (slot && type == kUtf8Text) {
        *slot = QString::fromUtf8(text);
      } else if (genreIndex && text.size() >= 2) {
        // The ID3v1 genre number plus one.
        const int index = bytes::BE16(text, 0) - 1;
        if (index >= 0 && index < kGenreCount) {
          const std::string_view name = ID3v1Genres()[index];
          texts.genreIndexName =
              QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        }
      }
    });
  }

  BoxWalker walker_;
  int64_t fileSize_;
  int64_t mediaDataBytes_ = 0;
};

}  // namespace

void TMP4file::ResetData() {
  data_ = Data();
}

bool TMP4file::ReadFromFile(const QString& fileName) {
  return ReadFromFileAfterId3v2(fileName);
}

bool TMP4file::ReadFromStream(const FileStream& stream, const TagExtents& tags) {
  ResetData();
  Data data;
  data.fileSize = std::max<int64_t>(stream.Size(), 0);
  MovieReader movie(stream, data.fileSize);
  const bool boxes = movie.Read(std::clamp<int64_t>(tags.Id3v2Size, 0, data.fileSize));
  data.mediaDataBytes = movie.MediaDataBytes();
  if (movie.sound) {
    data.sound = *movie.sound;
    if (data.sound.duration <= 0)
      data.sound.duration = movie.movieDuration;
  }
  const ItemTexts& texts = movie.texts;
  data.title = texts.title;
  data.artist = texts.artist;
  data.album = texts.album;
  data.year = texts.year;
  data.genre = texts.genre.isEmpty() ? texts.genreIndexName : texts.genre;
  data.albumArtist = texts.albumArtist;
  data.encoder = texts.encoder;
  data_ = std::move(data);
  return boxes;
}

bool TMP4file::Valid() const {
  if (data_.sound.codec == CodecKind::Unknown || data_.sound.channels <= 0 ||
      data_.sound.sampleRate <= 0 || data_.sound.duration <= 0.1) {
    return false;
  }
  return data_.sound.codec != CodecKind::Alac || data_.sound.bitsPerSample > 0;
}

QString TMP4file::CodecName() const {
  if (data_.sound.codec == CodecKind::Alac)
    return QStringLiteral("ALAC");
  if (data_.sound.codec != CodecKind::Aac)
    return {};
  if (data_.sound.sbr)
    return data_.sound.ps ? QStringLiteral("HE-AACv2") : QStringLiteral("HE-AAC");
  switch (data_.sound.audioObjectType) {
    case 1:
      return QStringLiteral("AAC Main");
    case 2:
      return QStringLiteral("AAC LC");
    case 3:
      return QStringLiteral("AAC SSR");
    case 4:
      return QStringLiteral("AAC LTP");
    default:
      return QStringLiteral("AAC");
  }
}

int TMP4file::BitRate() const {
  if (data_.sound.avgBitrate > 0)
    return RoundKbps(data_.sound.avgBitrate / 1000.0);
  if (data_.sound.duration <= 0)
    return 0;
  return RoundKbps(static_cast<double>(data_.mediaDataBytes) * 8 / data_.sound.duration / 1000);
}

double TMP4file::Ratio() const {
  const double pcmBytes = data_.sound.duration * data_.sound.sampleRate * data_.sound.channels *
                          data_.sound.bitsPerSample / 8;
  if (!(pcmBytes > 0))
    return 0;
  return static_cast<double>(data_.fileSize) / pcmBytes * 100;
}

StreamFacts TMP4file::Describe() const {
  const bool lossless = data_.sound.codec == CodecKind::Alac;
  StreamFacts facts;
  facts.Codec = CodecName();
  facts.Channels = data_.sound.channels;
  facts.VersionText = QStringLiteral("MPEG-4 ") + CodecName();
  facts.ChannelsText = ChannelCountText(data_.sound.channels);
  facts.Quality = StreamFacts::QualityRule::Fixed;
  if (lossless) {
    facts.BitsPerSample = data_.sound.bitsPerSample;
    facts.Ratio = Ratio();
    facts.SampleRateText =
        LosslessSampleRateText(data_.sound.sampleRate, data_.sound.bitsPerSample);
    facts.EncoderText = QStringLiteral("Apple Lossless Audio Codec (ALAC)");
    facts.QualityLabel = QStringLiteral("Lossless");
  } else {
    facts.BitRate = BitRate();
    facts.SampleRateText = QString::number(data_.sound.sampleRate) + QStringLiteral(" hz");
    facts.EncoderText = data_.encoder.isEmpty() ? QStringLiteral("AAC") : data_.encoder;
    facts.QualityLabel = QStringLiteral("Lossy");
  }
  facts.OwnTagName = QStringLiteral("MP4");
  if (!data_.artist.isEmpty()) {
    facts.OwnTag = OwnTagTexts{data_.artist, data_.title, data_.album,
                               data_.year,   data_.genre, data_.albumArtist};
  }
  return facts;
}
