#pragma once

#include "model/Options.h"
#include "model/Release.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <QString>
#include <QStringList>
#include <span>

// The SFV or MD5 list of the track files, written beside them from the checksum texts that the
// analysis stored in the rows; nothing is computed while saving. The checksum kind is the
// options' text; only exactly "SFV" or "MD5" selects a list.

// The lines of the list in the given form: three comment lines (";"), then one line per row
// (per row of the given rows: one disc's). Empty when the kind selects no list.
QStringList ChecksumListLines(const Release& release, const Options& options, TextFile::Form form);
QStringList ChecksumListLines(const Release& release, const Options& options, TextFile::Form form,
                              std::span<const TrackRecord> rows);

// Writes the list in the form the options select: "<base>.sfv"/".md5" in the 8-bit form (skipped
// silently on failure), "<base>.SFV"/".MD5" in the Unicode form (FileError "Cannot create file %s"
// on failure). A release of several discs gets one list in every disc folder, of that disc's
// files. Returns the paths written; empty when no list was written.
QStringList WriteChecksumList(const Release& release, const Options& options,
                              const CodePage& codePage = CodePage::System());
