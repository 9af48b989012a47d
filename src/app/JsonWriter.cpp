#include "app/JsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int kIndentWidth = 4;
// Enough for a small release; a large one grows the buffer a few times.
constexpr qsizetype kInitialCapacity = 256 * 1024;

// Two-character escapes; other control characters take the \u form.
char ShortEscape(unsigned char c) {
  switch (c) {
    case '"':
      return '"';
    case '\\':
      return '\\';
    case '\b':
      return 'b';
    case '\f':
      return 'f';
    case '\n':
      return 'n';
    case '\r':
      return 'r';
    case '\t':
      return 't';
    default:
      return 0;
  }
}

}  // namespace

JsonWriter::JsonWriter() {
  out_.reserve(kInitialCapacity);
}

void JsonWriter::BeginObject() {
  Open('{');
}

void JsonWriter::EndObject() {
  Close('}');
}

void JsonWriter::BeginArray() {
  Open('[');
}

void JsonWriter::EndArray() {
  Close(']');
}

void JsonWriter::Key(QLatin1StringView name) {
  StartValue();
  AppendQuoted(QByteArrayView(name.data(), name.size()));
  out_.append(": ");
  afterKey_ = true;
}

void JsonWriter::Key(const QString& name) {
  StartValue();
  AppendQuoted(name.toUtf8());
  out_.append(": ");
  afterKey_ = true;
}

void JsonWriter::String(const QString& text) {
  StartValue();
  AppendQuoted(text.toUtf8());
}

void JsonWriter::Bool(bool value) {
  StartValue();
  out_.append(value ? "true" : "false");
}

void JsonWriter::Integer(int64_t value) {
  StartValue();
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out_.append(digits, end - digits);
}

void JsonWriter::Number(double value) {
  if (!std::isfinite(value)) {
    Null();
    return;
  }
  StartValue();
  // The shortest text that reads back as the same double; whole numbers come out without ".0".
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out_.append(digits, end - digits);
}

void JsonWriter::Null() {
  StartValue();
  out_.append("null");
}

QByteArray JsonWriter::Finish() {
  out_.append('\n');
  levelHasItems_.clear();
  afterKey_ = false;
  return std::move(out_);
}

// Every value inside a container starts on a line of its own, after a comma when it is not the
// first; a value that follows its key stays on the key's line.
void JsonWriter::StartValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levelHasItems_.empty())
    return;
  if (levelHasItems_.back())
    out_.append(',');
  levelHasItems_.back() = true;
  out_.append('\n');
  Indent();
}

void JsonWriter::Open(char bracket) {
  StartValue();
  out_.append(bracket);
  levelHasItems_.push_back(false);
}

void JsonWriter::Close(char bracket) {
  const bool hadItems = levelHasItems_.back();
  levelHasItems_.pop_back();
  if (hadItems) {
    out_.append('\n');
    Indent();
  }
  out_.append(bracket);
}

void JsonWriter::Indent() {
  out_.append(static_cast<qsizetype>(levelHasItems_.size()) * kIndentWidth, ' ');
}

void JsonWriter::AppendQuoted(QByteArrayView utf8) {
  out_.append('"');
  qsizetype plainStart = 0;
  for (qsizetype i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0x20 && c != '"' && c != '\\')
      continue;
    out_.append(utf8.constData() + plainStart, i - plainStart);
    plainStart = i + 1;
    if (const char escape = ShortEscape(c)) {
      out_.append('\\').append(escape);
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      const char code[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
      out_.append(code, sizeof code);
    }
  }
  out_.append(utf8.constData() + plainStart, utf8.size() - plainStart);
  out_.append('"');
}
