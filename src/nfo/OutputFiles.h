#pragma once

#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

// Where the output files of a release go and what they are called: all of them share one folder
// and one base name; only the extension differs. The checksum lists and playlists are written
// through here, beside the NFO.

// The folder of the analysed tracks with one trailing "/": the folder of the first track row (the
// folder of the first path of the scan's track list when there are no rows), or the folder above
// it when that is a disc folder. Empty when neither names a folder.
QString OutputFolderOf(const Release& release);

// The form of the NFO: UTF-8 with the utf8text option, the 8-bit form otherwise.
TextFile::Form NfoForm(const Options& options);
// The form of checksum lists and playlists: UTF-8 with utf8text, else as saveunicode selects.
TextFile::Form CompanionForm(const Options& options);

// Output folder + base name + extension; with a disc, that disc's folder + base name + " - " +
// disc + extension (the checksum list and playlists of each disc lie beside its files). The base
// name is made safe (no path separators or control characters); one that comes out empty or only
// blanks and dots is the release folder's own name, and none starts with "." (no output file is
// ever hidden). In the 8-bit form the name goes through the code page; in the others it keeps every
// character. A name longer than the file system takes (255 bytes with the extension) is shortened
// at a character boundary.
QString OutputFileName(const Release& release, const QString& extension, TextFile::Form form,
                       const CodePage& codePage = CodePage::System(),
                       const QString& disc = QString());

// Writes a checksum list or playlist beside the NFO (beside the disc's files, with a disc) in the
// form the options select. The Unicode
// form takes unicodeExtension and throws FileError "Cannot create file %s" on failure; so does
// the UTF-8 form, with eightBitExtension. The 8-bit form takes eightBitExtension and skips the
// file silently on failure. Returns the path written, empty when the file was skipped.
QString WriteCompanionFile(const Release& release, const Options& options,
                           const QString& eightBitExtension, const QString& unicodeExtension,
                           const QStringList& lines, const CodePage& codePage,
                           const QString& disc = QString());
