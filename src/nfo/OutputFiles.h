#pragma once

#include "analysis/ReleaseModel.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

// Where the output files of a release go and what they are called: all of them share one folder
// and one base name; only the extension differs. The checksum lists and playlists are written
// through here, beside the NFO.

// The folder of the analysed tracks with one trailing "/": the folder of the first track row (the
// folder of the first path of the scan's track list when there are no rows). Empty when neither
// names a folder.
QString OutputFolderOf(const ReleaseModel& model);

// Output folder + safe base name + extension, wide characters kept.
QString OutputFileName(const ReleaseModel& model, const QString& extension);

// The form of checksum lists and playlists that the saveunicode option selects.
TextFile::Form CompanionForm(const Options& options);

// Writes a checksum list or playlist beside the NFO in the form the options select. Unicode form:
// the wide name with unicodeExtension; a failure throws FileError "Cannot create file %s".
// 8-bit form: the 8-bit name with eightBitExtension; a failure skips the file silently. Returns the
// path written, empty when the file was skipped.
QString WriteCompanionFile(const ReleaseModel& model, const QString& eightBitExtension,
                           const QString& unicodeExtension, const QStringList& lines,
                           const CodePage& codePage);
