#include "platform/CodePage.h"

#include <unicode/ucnv.h>

#include <QHash>
#include <map>
#include <mutex>
#include <vector>

struct CodePage::Tables {
  std::array<char16_t, 256> toUnicode{};
  // Byte for every BMP code unit, -1 where the code page has none.
  std::vector<int16_t> fromUnicode = std::vector<int16_t>(0x10000, -1);
};

namespace {

constexpr char16_t kReplacement = u'?';

std::shared_ptr<const CodePage::Tables> BuildTables(int number);

std::shared_ptr<const CodePage::Tables> TablesFor(int number) {
  static std::mutex mutex;
  static std::map<int, std::shared_ptr<const CodePage::Tables>> cache;
  std::lock_guard lock(mutex);
  auto& entry = cache[number];
  if (!entry)
    entry = BuildTables(number);
  return entry;
}

// Decodes one byte with ICU; bytes the code page leaves undefined map to the code point of the
// same value, as Windows does for 0x81 in code page 1252.
char16_t DecodeByte(UConverter* converter, unsigned char byte) {
  if (converter == nullptr || byte < 0x80)
    return byte;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(converter);
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  UChar out[4];
  const char in = static_cast<char>(byte);
  status = U_ZERO_ERROR;
  const int32_t length = ucnv_toUChars(converter, out, 4, &in, 1, &status);
  if (U_FAILURE(status) || length != 1)
    return byte;
  return out[0];
}

std::shared_ptr<const CodePage::Tables> BuildTables(int number) {
  auto tables = std::make_shared<CodePage::Tables>();
  UErrorCode status = U_ZERO_ERROR;
  const QByteArray name = "windows-" + QByteArray::number(number);
  UConverter* converter = ucnv_open(name.constData(), &status);
  if (U_FAILURE(status))
    converter = nullptr;  // unknown number: behave as Latin-1
  for (int byte = 0; byte < 256; ++byte) {
    tables->toUnicode[byte] = DecodeByte(converter, static_cast<unsigned char>(byte));
  }
  if (converter != nullptr)
    ucnv_close(converter);
  // Walk downwards so that the lowest byte wins where two bytes decode to the same character.
  for (int byte = 255; byte >= 0; --byte) {
    tables->fromUnicode[tables->toUnicode[byte]] = static_cast<int16_t>(byte);
  }
  return tables;
}

int& SystemNumber() {
  static int number = CodePage::NumberForLocale(QLocale::system());
  return number;
}

}  // namespace

CodePage::CodePage(int number) : number_(number), tables_(TablesFor(number)) {}

int CodePage::NumberForLocale(const QLocale& locale) {
  switch (locale.language()) {
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Croatian:
    case QLocale::Slovenian:
    case QLocale::Romanian:
      return 1250;
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Bulgarian:
    case QLocale::Belarusian:
    case QLocale::Serbian:
    case QLocale::Macedonian:
      return 1251;
    case QLocale::Greek:
      return 1253;
    case QLocale::Turkish:
      return 1254;
    case QLocale::Hebrew:
      return 1255;
    case QLocale::Arabic:
      return 1256;
    case QLocale::Estonian:
    case QLocale::Latvian:
    case QLocale::Lithuanian:
      return 1257;
    case QLocale::Vietnamese:
      return 1258;
    case QLocale::Thai:
      return 874;
    default:
      return 1252;
  }
}

const CodePage& CodePage::System() {
  static std::mutex mutex;
  static std::map<int, CodePage> pages;
  std::lock_guard lock(mutex);
  const int number = SystemNumber();
  auto it = pages.find(number);
  if (it == pages.end())
    it = pages.emplace(number, CodePage(number)).first;
  return it->second;
}

void CodePage::SetSystem(int number) {
  SystemNumber() = number;
}

QByteArray CodePage::FromUnicode(const QString& text) const {
  QByteArray out;
  out.reserve(text.size());
  const auto& table = tables_->fromUnicode;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text.at(i).unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
        QChar::isLowSurrogate(text.at(i + 1).unicode())) {
      ++i;  // one character outside the BMP: one replacement
      out.append(static_cast<char>(kReplacement));
      continue;
    }
    const int16_t byte = QChar::isSurrogate(unit) ? int16_t(-1) : table[unit];
    out.append(static_cast<char>(byte < 0 ? kReplacement : byte));
  }
  return out;
}

QString CodePage::ToUnicode(const QByteArray& bytes) const {
  return ToUnicode(bytes.constData(), bytes.size());
}

QString CodePage::ToUnicode(const char* bytes, qsizetype length) const {
  QString out(length, Qt::Uninitialized);
  QChar* data = out.data();
  for (qsizetype i = 0; i < length; ++i) {
    data[i] = QChar(tables_->toUnicode[static_cast<unsigned char>(bytes[i])]);
  }
  return out;
}
