#include "platform/DisplayWidth.h"

#include <unicode/uchar.h>

namespace {

int ColumnsOf(char32_t codePoint) {
  const auto category = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(codePoint)));
  if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR) {
    return 0;
  }
  const auto width = static_cast<UEastAsianWidth>(
      u_getIntPropertyValue(static_cast<UChar32>(codePoint), UCHAR_EAST_ASIAN_WIDTH));
  if (width == U_EA_WIDE || width == U_EA_FULLWIDTH ||
      u_hasBinaryProperty(static_cast<UChar32>(codePoint), UCHAR_EMOJI_PRESENTATION)) {
    return 2;
  }
  return 1;
}

}  // namespace

int DisplayColumns(const QString& text) {
  int columns = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t codePoint = text.at(i).unicode();
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
      ++i;
    }
    columns += ColumnsOf(codePoint);
  }
  return columns;
}
