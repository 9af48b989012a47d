#pragma once

#include "ui/CaptionTable.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// A caption as a screen reader says it: without the "&" that marks its mnemonic.
QString WithoutMnemonic(const QString& caption);

// Every control under root gets the accessible name of its caption: a label's buddy the label's
// text, a button or check box its own text, and a control named in `captionOwners` the caption
// of its owner (a group box title, a check box, a label, a tab).
struct CaptionOwner {
  QWidget* Control;
  std::function<QString()> Caption;
};
void NameControlsAfterCaptions(QWidget* root, const QList<CaptionOwner>& captionOwners = {});
