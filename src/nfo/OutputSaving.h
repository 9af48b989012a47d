#pragma once

#include "analysis/ReleaseModel.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"
#include "platform/UserLocale.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Where the output files of a release go, what they are called, and the save command that writes
// the NFO followed by the selected checksum list and playlists. All files share one folder and one
// base name; only the extension differs.

// The base name with "/", "\" and control characters replaced by "_", so that text from tags can
// never lead a file outside the output folder nor break its name.
QString SafeBaseName(const QString& baseName);

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
// 8-bit form: the name with eightBitExtension through the code page; a failure skips the file
// silently. Returns the path written, empty when the file was skipped.
QString WriteCompanionFile(const ReleaseModel& model, const QString& eightBitExtension,
                           const QString& unicodeExtension, const QStringList& lines,
                           const CodePage& codePage);

// The lines of the NFO preview text, one per line break; a text ending in a line break ends with
// an empty line, which the file keeps.
QStringList NfoFileLines(const QString& nfoText);
// The bytes of the NFO file: the preview text in the code page, CR LF after every line, no BOM.
QByteArray NfoFileBytes(const ReleaseModel& model, const CodePage& codePage = CodePage::System());

enum class SaveOutcome { Saved, NothingToSave };

// What the window or velmora-cli reports after a save: the message box it is due (TEXTS 9003 and
// 9004 after saving, 9005 and 9006 with the error icon when there was nothing to save) and the
// files that were written.
struct SaveResult {
  SaveOutcome Outcome = SaveOutcome::NothingToSave;
  QString MessageText;
  QString MessageCaption;
  QStringList WrittenFiles;
};

// Writes the NFO (always 8-bit), then the checksum list, the PLS and the M3U playlist as selected.
// Sets Run.OutputFolder. An NFO that cannot be written throws FileError "Cannot create file %s"
// before anything else is written; so does a Unicode-form list or playlist, leaving the files
// written before it. On success the status text becomes TEXTS 9002 and NfoComposed is cleared.
SaveResult SaveOutputs(ReleaseModel& model, const CodePage& codePage = CodePage::System());

// The menu command "Zapisz": after an analysis it composes the NFO anew and saves; before any
// composition there is nothing to save and no file is written.
SaveResult SaveCommand(ReleaseModel& model, const UserLocale& locale = UserLocale::System(),
                       const CodePage& codePage = CodePage::System());
