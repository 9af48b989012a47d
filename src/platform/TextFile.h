#pragma once

#include "platform/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files as the program reads and writes them: lists, notes, NFO, checksum lists and
// playlists. Every written line ends with CR LF, the last one too; a line that carries CR or LF
// of its own is broken there, so no bare CR or LF ever reaches a file.
namespace TextFile {

// The code page without BOM, UTF-16LE with FF FE, or UTF-8 without BOM (what this platform's
// tools read).
enum class Form { EightBit, Unicode, Utf8 };

// Decodes by byte-order mark: FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8, else the code page.
QString Decode(const QByteArray& bytes, const CodePage& codePage);
// Splits on CR LF, CR or LF; a final line break does not start another line.
QStringList SplitLines(const QString& text);

// Reads a whole text file into lines. Returns false (and leaves lines empty) when it cannot be
// opened or read.
bool ReadLines(const QString& path, const CodePage& codePage, QStringList& lines);

// The bytes a file of these lines holds in the given form.
QByteArray Encode(const QStringList& lines, Form form, const CodePage& codePage);

// Writes the file through a temporary file in the same folder that replaces the old file only
// when complete, so a failure never destroys what was there. Throws FileError
// "Cannot create file %s" naming the path.
void WriteLines(const QString& path, const QStringList& lines, Form form, const CodePage& codePage);
void WriteBytes(const QString& path, const QByteArray& bytes);
// The same without an exception: false on failure.
bool TryWriteLines(const QString& path, const QStringList& lines, Form form,
                   const CodePage& codePage);

}  // namespace TextFile
