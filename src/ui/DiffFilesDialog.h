#pragma once

#include "session/SessionTypes.h"
#include "ui/CaptionTable.h"
#include "ui/SecondaryWindow.h"

class QGridLayout;
class QLabel;
class QPushButton;

// TfrmDiffFiles, the mixed-format warning: one row per format present with its count, the
// dominant one in bold, and the only format that will be analysed.
class DiffFilesDialog : public SecondaryWindow {
  Q_OBJECT

 public:
  DiffFilesDialog();

  void ShowWarning(const MixedFormatWarning& warning);
  CaptionSetters Captions();

 private:
  QLabel* firstLine_;
  QGridLayout* rows_;
  QLabel* lastLine_;
  QPushButton* ok_;
};
