#pragma once

#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The save: the NFO, then the selected checksum list and playlists, all beside the analysed
// tracks under the one base name (nfo/OutputFiles.h).

// The lines of the NFO preview text, one per line break; a text ending in a line break ends with
// an empty line, which the file keeps.
QStringList NfoFileLines(const QString& nfoText);
// The bytes of the NFO file: the preview text in the form the options select, CR LF after every
// line, no BOM.
QByteArray NfoFileBytes(const Release& release, const Options& options,
                        const CodePage& codePage = CodePage::System());

// Writes the NFO, then the checksum list, the PLS and the M3U playlist as selected, and returns
// the paths written. Sets Run.OutputFolder and clears NfoComposed. An NFO that cannot be written
// throws FileError "Cannot create file %s" before anything else is written; so does a
// Unicode-form list or playlist, leaving the files written before it.
QStringList SaveOutputs(Release& release, const Options& options,
                        const CodePage& codePage = CodePage::System());
