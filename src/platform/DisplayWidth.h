#pragma once

#include <QString>

// The columns a text takes in a monospaced view (an NFO viewer, a terminal): East Asian wide and
// fullwidth characters and emoji shown as pictures take two, combining marks and invisible
// format characters none, every other character one.
int DisplayColumns(const QString& text);
