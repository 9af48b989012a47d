#pragma once

#include "model/Extras.h"

#include <QString>
#include <QStringList>

// The extras of one folder, named as they stand in it (model/Extras.h).
// Empty when the folder cannot be read.
ReleaseExtras FindExtras(const QString& folder);

// The order FindExtras sorts in: case-insensitive, ties broken by the exact code units.
bool ExtraNameLess(const QString& a, const QString& b);
