#pragma once

#include <QString>
#include <QStringList>

// What a release folder holds besides its audio, by file name (not path), each list sorted by
// name without regard to case. Only regular files with names that can be shown faithfully count.
struct ReleaseExtras {
  QStringList Logs;   // *.log whose first lines show one of the rippers RipLog.h reads
  QStringList Cues;   // *.cue
  QStringList Par2;   // *.par2
  QStringList Lists;  // *.sfv, *.md5
  QStringList Nfos;   // *.nfo
  // Pictures named cover/folder/front, back, cd/disc/disk/cdart (.jpg, .jpeg, .png); the first in
  // name order when several fit one role; empty when none does.
  struct {
    QString Front;
    QString Back;
    QString Cd;
  } Covers;
};

// Empty when the folder cannot be read.
ReleaseExtras FindExtras(const QString& folder);

// The order FindExtras sorts in: case-insensitive, ties broken by the exact code units.
bool ExtraNameLess(const QString& a, const QString& b);
