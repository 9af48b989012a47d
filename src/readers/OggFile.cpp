#include "readers/OggFile.h"

#include "platform/ByteView.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "readers/KbpsRounding.h"
#include "tags/ID3v2.h"

#include <QByteArray>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int64_t kPageHeaderLength = 27;
constexpr int64_t kMaxSegments = 255;
constexpr uint8_t kContinuedPacket = 0x01;
constexpr uint8_t kFirstPage = 0x02;
constexpr uint64_t kNoGranule = ~uint64_t{0};
// How far past damage the walk looks for the next page: more than one page of the largest size,
// so one broken page is stepped over, yet a file of garbage is given up quickly.
constexpr int64_t kResyncWindow = 128 * 1024;
// The last page of a stream is at most 65307 bytes long, so the first window normally holds it;
// the wider one covers another stream's pages interleaved at the end.
constexpr int64_t kTailWindow = 64 * 1024;
constexpr int64_t kWideTailWindow = 1024 * 1024;
// OpusHead with a channel mapping for 255 channels has 276 bytes; Vorbis's has 30.
constexpr int64_t kMaxIdentificationBytes = 4096;
// Of the comment packet only texts are kept: an entry longer than this (a picture in
// METADATA_BLOCK_PICTURE, embedded lyrics files) is passed over unread.
constexpr int64_t kMaxCommentEntry = 64 * 1024;
constexpr int64_t kMaxCommentBytes = 1024 * 1024;
// The header packets together, pictures included; beyond this the stream is not believed.
constexpr int64_t kMaxHeaderBytes = 64 * 1024 * 1024;
// Every page costs a read; the header packets of a real stream span a few pages, or about a
// thousand when a large picture sits in the comment.
constexpr int kMaxHeaderWalkPages = 8192;
constexpr int kOpusRate = 48000;

struct PageHeader {
  int64_t offset = 0;
  uint8_t flags = 0;
  uint64_t granule = kNoGranule;
  uint32_t serial = 0;
  QByteArray lacing;
  int64_t payloadLength = 0;

  int64_t PayloadStart() const { return offset + kPageHeaderLength + lacing.size(); }
  int64_t End() const { return PayloadStart() + payloadLength; }
};

// The header of a page whose capture pattern, version and segment table lie in `bytes` at
// `at`; `offset` is where `bytes` starts in the file.
std::optional<PageHeader> ParsePageHeader(QByteArrayView bytes, int64_t at, int64_t offset) {
  if (!bytes::Matches(bytes, at, "OggS") || bytes::U8(bytes, at + 4) != 0 ||
      !bytes::Fits(bytes, at, kPageHeaderLength)) {
    return std::nullopt;
  }
  const int64_t segments = bytes::U8(bytes, at + 26);
  if (!bytes::Fits(bytes, at + kPageHeaderLength, segments))
    return std::nullopt;
  PageHeader page;
  page.offset = offset + at;
  page.flags = bytes::U8(bytes, at + 5);
  page.granule = bytes::LE64(bytes, at + 6);
  page.serial = bytes::LE32(bytes, at + 14);
  page.lacing = bytes.sliced(at + kPageHeaderLength, segments).toByteArray();
  for (const char lace : page.lacing)
    page.payloadLength += static_cast<uint8_t>(lace);
  return page;
}

QByteArray ReadBytes(const FileStream& stream, int64_t offset, int64_t count) {
  QByteArray bytes(std::max<int64_t>(count, 0), '\0');
  const int64_t got = count > 0 ? stream.ReadAt(offset, bytes.data(), count) : 0;
  bytes.resize(std::max<int64_t>(got, 0));
  return bytes;
}

std::optional<PageHeader> ReadPageHeader(const FileStream& stream, int64_t offset) {
  return ParsePageHeader(ReadBytes(stream, offset, kPageHeaderLength + kMaxSegments), 0, offset);
}

// The offset of the next capture pattern at or after `from` within the resync window; -1
// without one. Read in small pieces, since the pattern is usually close by: damage made of many
// false patterns then costs a small read for each.
int64_t FindCapture(const FileStream& stream, int64_t from) {
  constexpr int64_t kPiece = 4096;
  for (int64_t offset = from; offset < from + kResyncWindow; offset += kPiece - 3) {
    const QByteArray piece = ReadBytes(stream, offset, kPiece);
    const qsizetype found = piece.indexOf("OggS");
    if (found >= 0)
      return offset + found;
    if (piece.size() < kPiece)
      break;  // the end of the file
  }
  return -1;
}

// Rebuilds the comment packet as it arrives, page by page, keeping the vendor and the entries
// that are texts and passing over long ones without needing their bytes, so that the result
// stays small whatever the packet holds and ReadVorbisComment can parse it.
class CommentCompactor {
 public:
  explicit CommentCompactor(QByteArrayView magic) : magic_(magic.toByteArray()) {}

  // How many of the next bytes will be dropped unseen: the caller may skip them without reading.
  int64_t Skippable() const {
    if (step_ == Step::Done)
      return std::numeric_limits<int64_t>::max();
    return (step_ == Step::Vendor || step_ == Step::Entry) && !keep_ ? pending_ : 0;
  }
  void Skip(int64_t count) {
    if (count > Skippable())
      step_ = Step::Done;  // bytes that were needed are missing: what was kept stands
    else if (step_ != Step::Done)
      Advance(count);
  }

  void Feed(QByteArrayView bytes) {
    while (!bytes.isEmpty() && step_ != Step::Done) {
      if (step_ == Step::Vendor || step_ == Step::Entry) {
        const int64_t take = std::min<int64_t>(pending_, bytes.size());
        if (keep_)
          out_ += bytes.first(take);
        bytes = bytes.sliced(take);
        Advance(take);
        continue;
      }
      const int64_t want = step_ == Step::Magic ? magic_.size() : 4;
      const int64_t take = std::min<int64_t>(want - field_.size(), bytes.size());
      field_ += bytes.first(take);
      bytes = bytes.sliced(take);
      if (field_.size() == want)
        TakeField();
    }
  }

  // The comment with the count of the entries kept.
  QByteArray Comment() const {
    QByteArray comment = out_;
    if (countAt_ >= 0 && countAt_ + 4 <= comment.size()) {
      for (int i = 0; i < 4; ++i)
        comment[countAt_ + i] = static_cast<char>(kept_ >> (8 * i) & 0xFF);
    }
    return comment;
  }

 private:
  enum class Step { Magic, VendorLength, Vendor, Count, EntryLength, Entry, Done };

  void AppendLE32(uint32_t value) {
    for (int i = 0; i < 4; ++i)
      out_ += static_cast<char>(value >> (8 * i) & 0xFF);
  }

  void TakeField() {
    const uint32_t value = bytes::LE32(field_, 0);
    if (step_ == Step::Magic) {
      step_ = field_ == magic_ ? Step::VendorLength : Step::Done;
    } else if (step_ == Step::VendorLength) {
      keep_ = value <= kMaxCommentEntry;
      AppendLE32(keep_ ? value : 0);
      Begin(Step::Vendor, value);
    } else if (step_ == Step::Count) {
      countAt_ = out_.size();
      AppendLE32(0);
      remaining_ = value;
      step_ = remaining_ > 0 ? Step::EntryLength : Step::Done;
    } else {
      keep_ = value <= kMaxCommentEntry && out_.size() + 4 + value <= kMaxCommentBytes;
      if (keep_)
        AppendLE32(value);
      Begin(Step::Entry, value);
    }
    field_.clear();
  }

  void Begin(Step step, int64_t length) {
    step_ = step;
    pending_ = length;
    if (pending_ == 0)
      Advance(0);
  }

  // Moves past `count` bytes of the vendor or entry being read.
  void Advance(int64_t count) {
    pending_ -= count;
    if (pending_ > 0)
      return;
    if (step_ == Step::Vendor) {
      step_ = Step::Count;
    } else if (step_ == Step::Entry) {
      if (keep_)
        ++kept_;
      step_ = --remaining_ > 0 ? Step::EntryLength : Step::Done;
    }
  }

  QByteArray magic_;
  Step step_ = Step::Magic;
  QByteArray field_;
  QByteArray out_;
  int64_t pending_ = 0;
  bool keep_ = false;
  uint32_t remaining_ = 0;
  uint32_t kept_ = 0;
  qsizetype countAt_ = -1;
};

// Collects the header packets of the chosen stream from its pages.
class HeaderCollector {
 public:
  bool Done() const { return done_; }
  bool Failed() const { return failed_; }
  const QByteArray& Identification() const { return identification_; }
  QByteArray Comment() const { return comment_ ? comment_->Comment() : QByteArray(); }

  // One page of the stream; reads of its payload only where bytes are kept.
  void TakePage(const FileStream& stream, const PageHeader& page) {
    // A page that does not continue a packet closes one left open by a lost page.
    if (!(page.flags & kContinuedPacket) && packetOpen_)
      CompletePacket();
    bool discard = (page.flags & kContinuedPacket) && !packetOpen_;
    QByteArray payload;
    bool loaded = false;
    int64_t runStart = 0;
    qsizetype i = 0;
    while (i < page.lacing.size() && !done_ && !failed_) {
      int64_t runLength = 0;
      bool complete = false;
      while (i < page.lacing.size()) {
        const uint8_t lace = static_cast<uint8_t>(page.lacing[i++]);
        runLength += lace;
        if (lace < 255) {
          complete = true;
          break;
        }
      }
      if (discard) {
        discard = !complete;
      } else {
        if (NeedsBytes(runLength) && !loaded) {
          payload = ReadBytes(stream, page.PayloadStart(), page.payloadLength);
          loaded = true;
        }
        Deliver(QByteArrayView(payload), runStart, runLength, loaded);
        packetOpen_ = !complete;
        if (complete)
          CompletePacket();
      }
      runStart += runLength;
    }
  }

 private:
  bool NeedsBytes(int64_t runLength) const {
    if (packetIndex_ == 0)
      return identification_.size() < kMaxIdentificationBytes;
    return packetIndex_ == 1 && comment_ && comment_->Skippable() < runLength;
  }

  void Deliver(QByteArrayView payload, int64_t start, int64_t length, bool loaded) {
    headerBytes_ += length;
    if (headerBytes_ > kMaxHeaderBytes) {
      failed_ = true;
      return;
    }
    const QByteArrayView run =
        loaded && bytes::Fits(payload, start, length) ? payload.sliced(start, length) : "";
    if (packetIndex_ == 0) {
      identification_ += run.first(
          std::min<int64_t>(run.size(), kMaxIdentificationBytes - identification_.size()));
    } else if (packetIndex_ == 1 && comment_) {
      if (run.size() == length)
        comment_->Feed(run);
      else
        comment_->Skip(length);
    }
  }

  void CompletePacket() {
    packetOpen_ = false;
    ++packetIndex_;
    if (packetIndex_ == 1) {
      // The identification header tells how many header packets follow and how the comment
      // starts.
      if (bytes::Matches(identification_, 0, "OpusHead")) {
        headerPackets_ = 2;
        comment_.emplace("OpusTags");
      } else if (bytes::Matches(identification_, 0, "\x01vorbis")) {
        headerPackets_ = 3;
        comment_.emplace("\x03vorbis");
      } else {
        failed_ = true;
      }
    }
    if (packetIndex_ == headerPackets_)
      done_ = true;
  }

  QByteArray identification_;
  std::optional<CommentCompactor> comment_;
  int packetIndex_ = 0;
  int headerPackets_ = 0;
  bool packetOpen_ = false;
  int64_t headerBytes_ = 0;
  bool done_ = false;
  bool failed_ = false;
};

bool StartsKnownStream(const FileStream& stream, const PageHeader& page) {
  const QByteArray head =
      ReadBytes(stream, page.PayloadStart(), std::min<int64_t>(page.payloadLength, 8));
  return bytes::Matches(head, 0, "OpusHead") || bytes::Matches(head, 0, "\x01vorbis");
}

// The granule position of the stream's last page that keeps the granules in order, from the
// pages that lie whole in [windowStart, fileSize); kNoGranule without one. Every capture
// pattern is tried, so a false one inside audio data costs nothing but a look.
uint64_t LastGranuleIn(const FileStream& stream, uint32_t serial, int64_t windowStart,
                       int64_t fileSize) {
  const QByteArray tail = ReadBytes(stream, windowStart, fileSize - windowStart);
  uint64_t best = kNoGranule;
  qsizetype at = tail.indexOf("OggS");
  while (at >= 0) {
    const std::optional<PageHeader> page = ParsePageHeader(tail, at, windowStart);
    qsizetype next = at + 1;
    if (page && page->serial == serial && page->End() <= fileSize) {
      next = static_cast<qsizetype>(page->End() - windowStart);
      // -1 marks a page on which no packet ends; a value with the sign bit set, or one smaller
      // than an earlier page's, is damage: the earlier value stands.
      const bool usable =
          page->granule != kNoGranule &&
          page->granule <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) &&
          (best == kNoGranule || page->granule >= best);
      if (usable)
        best = page->granule;
    }
    at = tail.indexOf("OggS", next);
  }
  return best;
}

}  // namespace

void TOggFile::ResetData() {
  data_ = Data();
}

bool TOggFile::ReadFromFile(const QString& fileName) {
  return ReadFromFileAfterId3v2(fileName);
}

bool TOggFile::ReadFromStream(const FileStream& stream, const TagExtents& tags) {
  ResetData();
  Data data;
  data.fileSize = std::max<int64_t>(stream.Size(), 0);
  const int64_t streamStart = std::clamp<int64_t>(tags.Id3v2Size, 0, data.fileSize);
  int64_t position = FindCapture(stream, streamStart);
  if (position < 0 || !ReadPageHeader(stream, position)) {
    data_.fileSize = data.fileSize;
    return false;
  }

  std::optional<uint32_t> serial;
  HeaderCollector headers;
  for (int pages = 0; pages < kMaxHeaderWalkPages && !headers.Done() && !headers.Failed();
       ++pages) {
    const std::optional<PageHeader> page = ReadPageHeader(stream, position);
    if (!page) {
      position = FindCapture(stream, position + 1);
      if (position < 0)
        break;
      continue;
    }
    if (page->End() > data.fileSize)
      break;  // cut short
    if (!serial) {
      // The streams of a file start with their first pages side by side; the first one the
      // program can read is followed.
      if (!(page->flags & kFirstPage))
        break;
      if (StartsKnownStream(stream, *page))
        serial = page->serial;
    }
    if (serial && page->serial == *serial) {
      headers.TakePage(stream, *page);
      if (headers.Done())
        data.audioStart = page->End();
    }
    position = page->End();
  }

  if (serial) {
    data.serial = *serial;
    const QByteArray id = headers.Identification();
    if (bytes::Matches(id, 0, "OpusHead") && id.size() >= 19 && bytes::U8(id, 8) < 16) {
      data.kind = StreamKind::Opus;
      data.opusVersion = bytes::U8(id, 8);
      data.channels = bytes::U8(id, 9);
      data.preSkip = bytes::LE16(id, 10);
      data.inputSampleRate = bytes::LE32(id, 12);
      data.outputGain = static_cast<int16_t>(bytes::LE16(id, 16));
      data.mappingFamily = bytes::U8(id, 18);
    } else if (bytes::Matches(id, 0, "\x01vorbis") && id.size() >= 30 && bytes::LE32(id, 7) == 0) {
      data.kind = StreamKind::Vorbis;
      data.channels = bytes::U8(id, 11);
      const uint32_t rate = bytes::LE32(id, 12);
      data.vorbisSampleRate = rate <= std::numeric_limits<int>::max() ? static_cast<int>(rate) : 0;
      data.maximumBitrate = static_cast<int32_t>(bytes::LE32(id, 16));
      data.nominalBitrate = static_cast<int32_t>(bytes::LE32(id, 20));
      data.minimumBitrate = static_cast<int32_t>(bytes::LE32(id, 24));
    }
    const QByteArray comment = headers.Comment();
    ReadVorbisComment(comment, data.comment);
  }

  if (data.kind != StreamKind::Unknown && data.audioStart > 0) {
    uint64_t granule = LastGranuleIn(
        stream, data.serial, std::max(data.audioStart, data.fileSize - kTailWindow), data.fileSize);
    if (granule == kNoGranule && data.fileSize - kTailWindow > data.audioStart) {
      granule =
          LastGranuleIn(stream, data.serial,
                        std::max(data.audioStart, data.fileSize - kWideTailWindow), data.fileSize);
    }
    if (granule != kNoGranule) {
      data.lastGranule = static_cast<int64_t>(granule);
      if (data.kind == StreamKind::Opus) {
        // The pre-skip samples are decoded but never played.
        data.duration =
            std::max<int64_t>(data.lastGranule - data.preSkip, 0) / static_cast<double>(kOpusRate);
      } else if (data.vorbisSampleRate > 0) {
        data.duration = static_cast<double>(data.lastGranule) / data.vorbisSampleRate;
      }
    }
    const int64_t tagsAtEnd = tags.Id3v1TotalSize + (tags.ApeTagExists ? tags.ApeTagSize : 0);
    data.audioBytes = std::max<int64_t>(data.fileSize - data.audioStart - tagsAtEnd, 0);
  }
  data_ = std::move(data);
  return true;
}

bool TOggFile::Valid() const {
  return data_.kind != StreamKind::Unknown && data_.channels > 0 && SampleRate() > 0 &&
         data_.duration > 0.1;
}

int TOggFile::SampleRate() const {
  switch (data_.kind) {
    case StreamKind::Opus:
      return data_.inputSampleRate > 0 &&
                     data_.inputSampleRate <= static_cast<uint32_t>(std::numeric_limits<int>::max())
                 ? static_cast<int>(data_.inputSampleRate)
                 : kOpusRate;
    case StreamKind::Vorbis:
      return data_.vorbisSampleRate;
    case StreamKind::Unknown:
      break;
  }
  return 0;
}

int TOggFile::BitRate() const {
  if (data_.duration <= 0)
    return 0;
  return RoundKbps(static_cast<double>(data_.audioBytes) * 8 / data_.duration / 1000);
}

StreamFacts TOggFile::Describe() const {
  const bool opus = data_.kind == StreamKind::Opus;
  StreamFacts facts;
  facts.Codec = opus ? QStringLiteral("Opus") : QStringLiteral("Vorbis");
  facts.Channels = data_.channels;
  facts.BitRate = BitRate();
  facts.VersionText = opus ? QStringLiteral("Ogg Opus") : QStringLiteral("Ogg Vorbis");
  facts.SampleRateText = QString::number(SampleRate()) + QStringLiteral(" hz");
  facts.ChannelsText = ChannelCountText(data_.channels);
  facts.EncoderText = data_.comment.vendor;
  facts.Quality = StreamFacts::QualityRule::Fixed;
  facts.QualityLabel = QStringLiteral("Lossy");
  facts.OwnTagName = QStringLiteral("VorbisComment");
  const VorbisCommentFields& c = data_.comment;
  if (!c.artist.isEmpty())
    facts.OwnTag = OwnTagTexts{c.artist, c.title, c.album, c.date, c.genre, c.albumArtist};
  return facts;
}
