#pragma once

#include <QPixmap>
#include <QString>

// One of the program's pictures (splash.jpg, about.jpg, donate.jpg) from its program folder. A
// missing or broken picture gives an empty pixmap: the windows then show no picture, nothing more.
QPixmap ProgramPicture(const QString& programDir, const QString& name);
