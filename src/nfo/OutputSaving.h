#pragma once

#include "analysis/ReleaseModel.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The save command: the NFO, then the selected checksum list and playlists, all beside the
// analysed tracks under the one base name (nfo/OutputFiles.h).

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
