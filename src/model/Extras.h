#pragma once

#include <QString>
#include <QStringList>

// What a release's folder (and each disc folder) holds besides its audio, by name relative to
// the release's folder ("CD1/EAC.log" in a disc folder), each list sorted by name without regard
// to case. Only regular files with names that can be shown faithfully count.
struct ReleaseExtras {
  QStringList Logs;   // *.log whose first lines show a ripper's log the program reads
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

  bool Empty() const {
    return Logs.isEmpty() && Cues.isEmpty() && Par2.isEmpty() && Lists.isEmpty() &&
           Nfos.isEmpty() && Covers.Front.isEmpty() && Covers.Back.isEmpty() && Covers.Cd.isEmpty();
  }
};
