#pragma once

#include "model/Release.h"
#include "platform/UserLocale.h"

#include <QString>
#include <QStringList>

// Appends the full path of every file in the folder whose name matches the mask ("*.mp3";
// extensions compared without regard to case), in the order the file system returns them.
// Hidden files count. With recursive set it also descends into sub-folders, skipping those whose
// name starts with "." or reads "RECYCLED" in any case.
void FindFiles(const QString& folder, const QString& mask, bool recursive, QStringList& list);

// Scans one folder (not its sub-folders) for every format the program reads, picks the dominant
// one (most files; a tie goes to the higher rank of the format table) and lists its files in
// track order. A folder without audio of its own whose sub-folders are named as discs ("CD1",
// "Disc 2 - Live") is a release of several discs: the scan takes those holding audio, in the
// order of their numbers, each disc's files in track order. What the release leaves out is
// listed with the reason: audio of formats without a reader, names that are not valid UTF-8 or
// hold control characters, entries that are not regular files. A folder that cannot be read
// gives empty lists and the system's reason.
void ScanFolder(ScanState& scan, const QString& folderPath,
                const UserLocale& locale = UserLocale::System());

// Sorts paths into track order: by file name, as the user's locale collates.
void SortIntoTrackOrder(QStringList& paths, const UserLocale& locale);
