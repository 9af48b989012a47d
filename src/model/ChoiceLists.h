#pragma once

#include <QStringList>

// The item lists of the five editable drop-downs, filled from the list files.
struct ChoiceLists {
  QStringList RipperPrograms;  // enc.ini
  QStringList Drives;          // cd_dvd.ini
  QStringList NewsServers;     // servers.ini
  QStringList Groups;          // groups.ini
  QStringList Genres;          // genre.ini
};
