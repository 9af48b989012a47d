#pragma once

#include "analysis/ReleaseModel.h"
#include "platform/UserLocale.h"

#include <QString>
#include <QStringList>

// Appends the full path of every file in the folder whose name matches the mask ("*.mp3";
// extensions compared without regard to case), in the order the file system returns them.
// Hidden files count. With recursive set it also descends into sub-folders, skipping those whose
// name starts with "." or reads "RECYCLED" in any case.
void FindFiles(const QString& folder, const QString& mask, bool recursive, QStringList& list);

// Scans one folder (not its sub-folders) for the four formats, picks the dominant one (a tie goes
// to the later format in the order mp3, mpc, ape, flac) and lists its files in track order.
// A folder that cannot be read gives empty lists.
void ScanFolder(ScanState& scan, const QString& folderPath,
                const UserLocale& locale = UserLocale::System());

// Sorts paths into track order: by file name, as the user's locale collates.
void SortIntoTrackOrder(QStringList& paths, const UserLocale& locale);
