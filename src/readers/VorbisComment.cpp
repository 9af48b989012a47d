#include "readers/VorbisComment.h"

#include "platform/ByteView.h"
#include "platform/CodePage.h"

namespace {

class CommentCursor {
 public:
  explicit CommentCursor(QByteArrayView bytes) : bytes_(bytes) {}

  bool LE32(uint32_t& value) {
    if (!bytes::Fits(bytes_, offset_, 4))
      return false;
    value = bytes::LE32(bytes_, offset_);
    offset_ += 4;
    return true;
  }
  // A length followed by that many bytes.
  bool Text(QByteArrayView& out) {
    uint32_t length = 0;
    if (!LE32(length) || !bytes::Fits(bytes_, offset_, length))
      return false;
    out = bytes_.sliced(offset_, length);
    offset_ += length;
    return true;
  }

 private:
  QByteArrayView bytes_;
  int64_t offset_ = 0;
};

bool IsBlankOrControl(char c) {
  return static_cast<uint8_t>(c) <= 32;
}

QString* NamedField(VorbisCommentFields& fields, QByteArrayView name) {
  if (name == "TITLE")
    return &fields.title;
  if (name == "ARTIST")
    return &fields.artist;
  if (name == "ALBUM")
    return &fields.album;
  if (name == "ALBUMARTIST" || name == "ALBUM ARTIST" || name == "ALBUM_ARTIST")
    return &fields.albumArtist;
  if (name == "TRACKNUMBER")
    return &fields.trackNumber;
  if (name == "DATE")
    return &fields.date;
  if (name == "GENRE")
    return &fields.genre;
  if (name == "COMMENT")
    return &fields.comment;
  return nullptr;
}

// A NAME=value entry, or, without "=", the vendor text that the encoder writes first.
void ParseEntry(QByteArrayView rawText, VorbisCommentFields& fields) {
  const QByteArrayView text = TrimBlanksAndControls(rawText);
  const qsizetype equals = text.indexOf('=');
  if (equals < 0) {
    if (fields.vendor.isEmpty())
      fields.vendor = CodePage::System().ToUnicode(text.toByteArray());
    return;
  }
  const QByteArray name = text.first(equals).toByteArray().toUpper();
  const QString value = QString::fromUtf8(TrimBlanksAndControls(text.sliced(equals + 1)));
  if (QString* field = NamedField(fields, name)) {
    *field = value;
    return;
  }
  if (!fields.otherFields.isEmpty())
    fields.otherFields += QChar(u'\0');
  fields.otherFields += CodePage::System().ToUnicode(name) + QLatin1Char('=') + value;
}

}  // namespace

QByteArrayView TrimBlanksAndControls(QByteArrayView text) {
  while (!text.isEmpty() && IsBlankOrControl(text.front()))
    text = text.sliced(1);
  while (!text.isEmpty() && IsBlankOrControl(text.back()))
    text.chop(1);
  return text;
}

void ReadVorbisComment(QByteArrayView body, VorbisCommentFields& fields) {
  CommentCursor cursor(body);
  QByteArrayView text;
  if (!cursor.Text(text))
    return;
  ParseEntry(text, fields);
  uint32_t count = 0;
  if (!cursor.LE32(count))
    return;
  // Every entry takes at least its four length bytes, so a false count runs out of block.
  for (uint32_t i = 0; i < count && cursor.Text(text); ++i)
    ParseEntry(text, fields);
}
