#pragma once

#include "ui/CaptionTable.h"
#include "ui/SecondaryWindow.h"

#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

// The result of "Sprawdź sumy kontrolne": a line per listed file (OK, FAILED, MISSING) and the
// summary, the failures marked.
class VerificationWindow : public SecondaryWindow {
  Q_OBJECT

 public:
  VerificationWindow();

  void SetLines(const QStringList& lines);
  CaptionSetters Captions();

 private:
  QListWidget* lines_;
  QPushButton* ok_;
};
