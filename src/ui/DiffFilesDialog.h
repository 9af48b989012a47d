#pragma once

#include "session/ReleaseSession.h"
#include "ui/Captions.h"
#include "ui/SecondaryWindow.h"

#include <array>

class QLabel;
class QPushButton;

// TfrmDiffFiles, the mixed-format warning: the four formats with their counts, the dominant one
// in bold, and the only format that will be analysed.
class DiffFilesDialog : public SecondaryWindow {
  Q_OBJECT

 public:
  DiffFilesDialog();

  void ShowWarning(const MixedFormatWarning& warning);
  QList<CaptionKey> CaptionKeys();

  QLabel* FirstLine;
  std::array<QLabel*, kFormatCount> FormatLabels;
  std::array<QLabel*, kFormatCount> Counts;
  QLabel* LastLine;
  QPushButton* Ok;
};
