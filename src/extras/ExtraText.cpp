#include "extras/ExtraText.h"

#include "platform/FileStream.h"

#include <QStringDecoder>
#include <algorithm>

namespace ExtraText {

namespace {

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian) {
  QString text;
  const qsizetype units = bytes.size() / 2;  // an odd last byte is half a character: dropped
  text.reserve(units);
  for (qsizetype i = 0; i < units; ++i) {
    const auto first = static_cast<uint8_t>(bytes[2 * i]);
    const auto second = static_cast<uint8_t>(bytes[2 * i + 1]);
    text.append(QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first)));
  }
  return text;
}

// The length of the sequence a UTF-8 lead byte announces; 0 for a byte that leads none.
int AnnouncedLength(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

// Where a read cut a UTF-8 sequence short, the bytes before that sequence.
QByteArrayView WithoutCutSequence(QByteArrayView bytes) {
  for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto byte = static_cast<uint8_t>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80)
      continue;  // a continuation byte: look further back for its lead
    const int length = AnnouncedLength(byte);
    return length > back ? bytes.first(bytes.size() - back) : bytes;
  }
  return bytes;
}

bool HasHighByte(QByteArrayView bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char byte) { return static_cast<uint8_t>(byte) >= 0x80; });
}

}  // namespace

Decoded Decode(const QByteArray& bytes, const CodePage& codePage, bool cut) {
  const QByteArrayView view(bytes);
  if (view.startsWith("\xFF\xFE"))
    return {DecodeUtf16(view.sliced(2), false), Form::Utf16Le};
  if (view.startsWith("\xFE\xFF"))
    return {DecodeUtf16(view.sliced(2), true), Form::Utf16Be};
  if (view.startsWith("\xEF\xBB\xBF")) {
    const QByteArrayView body = cut ? WithoutCutSequence(view.sliced(3)) : view.sliced(3);
    return {QString::fromUtf8(body), Form::Utf8Bom};
  }
  if (HasHighByte(view)) {
    const QByteArrayView body = cut ? WithoutCutSequence(view) : view;
    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = strict.decode(body);
    if (!strict.hasError())
      return {text, Form::Utf8};
  }
  return {codePage.ToUnicode(bytes), Form::EightBit};
}

bool ReadHead(const QString& path, int64_t maxBytes, QByteArray& bytes, bool& cut) {
  bytes.clear();
  cut = false;
  FileHandle file(path);
  if (!file.IsValid())
    return false;
  const int64_t wanted = std::clamp<int64_t>(file.Size(), 0, maxBytes);
  bytes.resize(static_cast<qsizetype>(wanted));
  const int64_t got = file.ReadAt(0, bytes.data(), wanted);
  bytes.truncate(static_cast<qsizetype>(std::max<int64_t>(got, 0)));
  cut = file.Size() > wanted;
  return true;
}

QStringList SplitLines(const QString& text, int maxLines, int maxLength) {
  QStringList lines;
  qsizetype start = 0;
  const auto add = [&](qsizetype end) {
    lines.append(text.mid(start, std::min<qsizetype>(end - start, maxLength)));
  };
  for (qsizetype i = 0; i < text.size() && lines.size() < maxLines; ++i) {
    const QChar ch = text.at(i);
    if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n'))
      continue;
    add(i);
    if (ch == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
      ++i;
    start = i + 1;
  }
  if (start < text.size() && lines.size() < maxLines)
    add(text.size());
  return lines;
}

}  // namespace ExtraText
