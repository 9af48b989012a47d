#include "analysis/TrackReading.h"

#include "platform/FileError.h"
#include "platform/FileStream.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <optional>

namespace {

TagTexts CleanTexts(TagTexts texts) {
  for (QString* text :
       {&texts.Artist, &texts.Title, &texts.Album, &texts.Year, &texts.Genre, &texts.AlbumArtist}) {
    *text = WithoutControlCharacters(std::move(*text));
  }
  return texts;
}

TagReading ReadId3v1(TID3v1& reader, const FileStream& stream, const CodePage& cp) {
  TagReading tag;
  tag.Read = reader.ReadFromStream(stream);
  tag.Exists = tag.Read && reader.Exists();
  if (!tag.Exists)
    return tag;
  tag.VersionText = reader.VersionID() == 1 ? QStringLiteral("1.0") : QStringLiteral("1.1");
  tag.Texts = CleanTexts({cp.ToUnicode(reader.Artist()), cp.ToUnicode(reader.Title()),
                          cp.ToUnicode(reader.Album()), cp.ToUnicode(reader.Year()),
                          cp.ToUnicode(reader.Genre()), QString()});
  return tag;
}

TagReading ReadId3v2(TID3v2& reader, const FileStream& stream, const CodePage& cp) {
  TagReading tag;
  tag.Read = reader.ReadFromStream(stream);
  tag.Exists = tag.Read && reader.Exists();
  if (!tag.Exists)
    return tag;
  tag.VersionText = QStringLiteral("2.") + QString::number(reader.VersionID());
  tag.Texts =
      CleanTexts({DecodeTagText(reader.Artist(), cp), DecodeTagText(reader.Title(), cp),
                  DecodeTagText(reader.Album(), cp), DecodeTagText(reader.Year(), cp),
                  DecodeTagText(reader.Genre(), cp), DecodeTagText(reader.AlbumArtist(), cp)});
  tag.Link = WithoutControlCharacters(DecodeTagText(reader.Link(), cp));
  return tag;
}

TagReading ReadApeTag(TAPETag& reader, const FileStream& stream, const UserLocale& locale,
                      const CodePage& cp) {
  TagReading tag;
  tag.Read = reader.ReadFromStream(stream);
  tag.Exists = tag.Read && reader.Exists();
  if (!tag.Exists)
    return tag;
  tag.VersionText = locale.FormatGrouped4(reader.Version());
  QByteArray albumArtist = reader.GetValue("Album Artist");
  if (albumArtist.isEmpty())
    albumArtist = reader.GetValue("ALBUMARTIST");
  tag.Texts = CleanTexts(
      {DecodeTagText(reader.GetValue("Artist"), cp), DecodeTagText(reader.GetValue("Title"), cp),
       DecodeTagText(reader.GetValue("Album"), cp), DecodeTagText(reader.GetValue("Year"), cp),
       DecodeTagText(reader.GetValue("Genre"), cp), DecodeTagText(albumArtist, cp)});
  return tag;
}

OwnTagTexts CleanOwnTag(OwnTagTexts tag) {
  for (QString* text :
       {&tag.Artist, &tag.Title, &tag.Album, &tag.Year, &tag.Genre, &tag.AlbumArtist}) {
    *text = WithoutControlCharacters(std::move(*text));
  }
  return tag;
}

TagExtents ExtentsOf(const TrackReading& reading, const TrackReaders& readers, unsigned kinds) {
  TagExtents tags;
  if ((kinds & kId3v2Tag) && reading.Id3v2.Read)
    tags.Id3v2Size = readers.Id3v2.Size();
  tags.Id3v1Exists = reading.Id3v1.Exists;
  if ((kinds & kId3v1Tag) && reading.Id3v1.Read)
    tags.Id3v1TotalSize = readers.Id3v1.TotalSize();
  tags.ApeTagExists = reading.Ape.Exists;
  tags.ApeTagSize = reading.Ape.Exists ? readers.ApeTag.Size() : 0;
  return tags;
}

void ReadStream(StreamReader& reader, const FileStream& stream, const TagExtents& tags,
                TrackReading& reading) {
  StreamValues& values = reading.Values;
  values.Read = reader.ReadFromStream(stream, tags);
  if (!values.Read)
    return;
  values.Valid = reader.Valid();
  values.Duration = reader.Duration();
  values.SampleRate = reader.SampleRate();
  values.FileSize = reader.FileSize();
  if (!values.Valid)
    return;
  reading.Facts = reader.Describe();
  values.BitRate = reading.Facts.BitRate;
  values.Ratio = reading.Facts.Ratio;
  values.Codec = reading.Facts.Codec;
  values.Channels = reading.Facts.Channels;
  values.BitsPerSample = reading.Facts.BitsPerSample;
  values.Lossless = reading.Facts.Lossless();
  if (reading.Facts.OwnTag)
    reading.Facts.OwnTag = CleanOwnTag(*reading.Facts.OwnTag);
}

}  // namespace

TrackReaders::TrackReaders(AudioFormat format)
    : Format(format), Stream(FormatOf(format).MakeReader()) {}

TrackReading ReadTrack(const QString& path, TrackReaders& readers) {
  TrackReading reading;
  const FormatInfo& format = FormatOf(readers.Format);
  std::optional<FileStream> stream;
  try {
    stream.emplace(path);
  } catch (const FileError&) {
    reading.Modified = QFileInfo(path).lastModified();
    // Tags and stream of a file that cannot be opened read as nothing; only some formats stop
    // the analysis for it.
    if (format.OpenFailureStops)
      reading.Failure = std::current_exception();
    return reading;
  }
  reading.FileSize = stream->Size();
  reading.Modified = stream->LastModified();
  const UserLocale& locale = UserLocale::System();
  const CodePage& cp = CodePage::System();
  // A tag kind the format does not carry reads as absent.
  reading.Id3v1.Read = reading.Id3v2.Read = reading.Ape.Read = true;
  if (format.Tags & kId3v1Tag)
    reading.Id3v1 = ReadId3v1(readers.Id3v1, *stream, cp);
  if (format.Tags & kId3v2Tag)
    reading.Id3v2 = ReadId3v2(readers.Id3v2, *stream, cp);
  if (format.Tags & kApeTag)
    reading.Ape = ReadApeTag(readers.ApeTag, *stream, locale, cp);
  ReadStream(*readers.Stream, *stream, ExtentsOf(reading, readers, format.Tags), reading);
  return reading;
}

QString DecodeTagText(const QByteArray& bytes, const CodePage& codePage) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  return utf8.hasError() ? codePage.ToUnicode(bytes) : text;
}

QString WithoutControlCharacters(QString text) {
  for (QChar& ch : text) {
    if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
      ch = QLatin1Char(' ');
  }
  return text;
}
