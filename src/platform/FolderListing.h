#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// One entry of a folder as the file system holds it. Names on disk are bytes: a name that is not
// valid UTF-8, or holds control characters, cannot be shown or written into a list faithfully, so
// the caller is told instead of getting a mangled name.
struct FolderEntry {
  enum class Kind {
    RegularFile,  // a regular file, or a link to one
    Folder,       // a folder, or a link to one
    Special,      // FIFO, device or socket
    BrokenLink,   // a link that leads nowhere, or round in a loop
  };
  Kind Type = Kind::RegularFile;
  QByteArray NativeName;
  // The name as text; when it is not valid, the bytes that are not UTF-8 read "\xNN".
  QString Name;
  // Valid UTF-8 without control characters.
  bool NameValid = true;
};

// Every entry of the folder but "." and "..", in the order the file system returns them, links
// followed to see what they lead to. False, with the system's reason, when the folder cannot be
// read.
bool ListFolder(const QString& folder, std::vector<FolderEntry>& entries,
                QString* failure = nullptr);

// The name as text when its bytes are valid UTF-8 without control characters; otherwise the
// valid parts decoded and every other byte written as "\xNN" (and control characters as "\xNN"
// too), with `valid` false.
QString DescribeNativeName(const QByteArray& name, bool& valid);
