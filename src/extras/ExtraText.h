#pragma once

#include "platform/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// Text files that other programs left in a release folder: rip logs and checksum lists. Unlike
// the program's own files they come in whatever form their maker chose, and they may be cut off
// or garbage, so every step here is bounded and never fails.
namespace ExtraText {

// How the bytes were read. UTF-8 without a BOM is told from the code page by being valid UTF-8
// with at least one byte above 127; plain ASCII counts as the code page.
enum class Form { EightBit, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct Decoded {
  QString Text;
  Form TextForm = Form::EightBit;
};

// Decodes by byte-order mark (UTF-16 LE/BE, UTF-8), else UTF-8 when the bytes are valid UTF-8,
// else the code page. `cut` says the bytes are the first part of a longer file: a character
// split by the cut is dropped instead of spoiling the guess.
Decoded Decode(const QByteArray& bytes, const CodePage& codePage, bool cut = false);

// Reads at most maxBytes from the start of a regular file; `cut` tells whether there was more.
// False when the file cannot be opened.
bool ReadHead(const QString& path, int64_t maxBytes, QByteArray& bytes, bool& cut);

// Splits on CR LF, CR or LF into at most maxLines lines of at most maxLength characters each
// (longer lines are cut there); whatever lies beyond maxLines is dropped.
QStringList SplitLines(const QString& text, int maxLines, int maxLength);

}  // namespace ExtraText
