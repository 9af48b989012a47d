#pragma once

#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"

#include <QStringList>

// The NFO text of a release: a plain-text description laid out for a monospaced font, 69 columns
// wide. It reads the track rows, the summary, the release information, the start time, the audio
// figures and the options; it never touches the disk.

// The audio pass ran and its lines are asked for: the NFO carries the album's dynamic range,
// loudness and gain, and the save writes the DR report.
bool AudioLinesWanted(const Release& release, const Options& options);

// Every line of the NFO, each already through the code page and back, as the 8-bit preview
// holds it. A value that carries line breaks of its own breaks its line there.
QStringList ComposeNfoLines(const Release& release, const Options& options,
                            const UserLocale& locale, const CodePage& codePage);

// Replaces model.NfoText with the composed lines joined by "\n" and sets Run.NfoComposed.
void ComposeNfo(Release& release, const Options& options,
                const UserLocale& locale = UserLocale::System(),
                const CodePage& codePage = CodePage::System());
