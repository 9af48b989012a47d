#pragma once

#include "extras/ExtraText.h"
#include "platform/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <stop_token>
#include <vector>

// SFV and MD5 checksum lists checked against the files beside them. Lists are read in the three
// forms this program writes (the code page, UTF-16 LE with BOM, UTF-8 without BOM) and as other
// tools write them: ";" and "#" comments, blank lines, CR LF or LF, md5sum's "*" binary mark and
// two-blank text mode, BSD's "MD5 (name) = hash", hexadecimal in either case, names with blanks.

enum class ListKind { Sfv, Md5 };

struct ListedFile {
  QString Name;      // as the list writes it
  QString Checksum;  // upper case: 8 digits for SFV, 32 for MD5
};

struct ParsedList {
  ListKind Kind = ListKind::Sfv;
  ExtraText::Form TextForm = ExtraText::Form::EightBit;
  std::vector<ListedFile> Files;
  int UnreadableLines = 0;  // lines that are neither a comment, blank, nor a listed file
};

// The kind the list's extension names (".sfv", ".md5", any case); for another extension the kind
// its first data line looks like.
ListKind ListKindOf(const QString& path, const QByteArray& bytes);

ParsedList ParseChecksumList(const QByteArray& bytes, ListKind kind,
                             const CodePage& codePage = CodePage::System());

enum class ListStatus { Ok, Failed, Missing };

struct ListEntryResult {
  QString ListedName;
  ListStatus Status = ListStatus::Missing;
  QString Expected;  // the list's checksum, upper case
  QString Actual;    // the file's; empty when it was not read
  QString Path;      // the file that was checked; empty when none was found
  QString Reason;    // why a file counts as missing
};

struct ListVerification {
  bool Readable = false;  // false when the list itself could not be opened
  ListKind Kind = ListKind::Sfv;
  ExtraText::Form TextForm = ExtraText::Form::EightBit;
  std::vector<ListEntryResult> Entries;  // one per listed file, in list order
  int UnreadableLines = 0;
  bool Stopped = false;  // a stop request ended the check early; Entries holds those done

  int Count(ListStatus status) const;
  bool AllOk() const {
    return Readable && !Stopped && Count(ListStatus::Ok) == int(Entries.size());
  }
};

// Called before each file is read: its index, the number of files, the name as listed.
using ListProgress = std::function<void(int index, int count, const QString& listedName)>;

// Checks every listed file, relative to the list's folder, with FileCrc32 / FileMd5. A name that
// is not found as written is looked up among the folder's entries: without regard to case (lists
// made on Windows), and, in a list of the code page's form, through the code page (a character
// the code page lacks was written as "?"), each only when exactly one entry fits. An MD5 list
// throws ChecksumUnavailable when the system's crypto library is missing (checksums/Checksums.h).
ListVerification VerifyChecksumList(const QString& listPath, const ListProgress& progress = {},
                                    std::stop_token stop = {});

// The result as text: one line per file, "OK", "FAILED" or "MISSING", two blanks and the name as
// listed, then "N files: a OK, b FAILED, c MISSING".
QStringList VerificationReport(const ListVerification& verification);

// Several lists checked together (the lists of a release and of its disc folders): each file
// named with the folder of its list when that is not the release's own ("CD1/01.flac"), one
// summary line over all of them. Lists that could not be read add no line.
struct FolderVerification {
  QString Folder;  // relative to the release's folder; empty for the folder itself
  ListVerification Result;
};
QStringList VerificationReport(const std::vector<FolderVerification>& lists);
