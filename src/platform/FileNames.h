#pragma once

#include "platform/CodePage.h"

#include <QString>

// The rules for file names that the scan, the analysis and the output files share. Paths use "/"
// on this platform; "\" and ":" still end a folder part where a name is cut from a path, as they
// do in the paths of the system the file names were first made on.

// The part of a path after its last "/", "\" or ":".
QString FileNameOf(const QString& path);
// The folder that holds a path, with exactly one trailing "/"; empty when the path has none.
QString FolderOf(const QString& path);

// A base name made from tags with "/", "\" and control characters replaced by "_", so that text
// from a tag can never lead a file outside its folder nor break its name.
QString SafeBaseName(const QString& baseName);

// A path as an 8-bit program creates the file: the name after the last "/" goes through the code
// page and back, so characters outside it become "?". The folder stays as it is: it exists
// already, whatever its name holds.
QString EightBitFileName(const QString& path, const CodePage& codePage);
