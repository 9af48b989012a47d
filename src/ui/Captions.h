#pragma once

#include "settings/LanguageFile.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// One caption that a language file sets: where it stands in the file and what it changes.
struct CaptionKey {
  const char* Section;
  const char* Key;
  std::function<void(const QString&)> Apply;
  // The legend labels of the file-name template take a column header followed by ":"; they are
  // set after every other caption.
  bool Legend = false;
};

// Applies every key, missing ones as the empty text, in the order the language file's sections
// are applied: MENU, TABSHEETS, LABELS 6013, GENERAL, LISTVIEW, GROUPBOXES, LABELS 6029, BUTTONS,
// the other LABELS, CHECKBOXES, FORMS, TEXTS, then the legend labels; within a section, by key.
void ApplyCaptions(QList<CaptionKey> keys, const LanguageFile& language);

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
