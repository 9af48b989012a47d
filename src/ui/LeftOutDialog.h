#pragma once

#include "model/Release.h"
#include "ui/CaptionTable.h"
#include "ui/SecondaryWindow.h"

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// The files a scan left out of the release and why: shown after the scan like the mixed-format
// warning, without blocking, so that nothing is left out in silence.
class LeftOutDialog : public SecondaryWindow {
  Q_OBJECT

 public:
  LeftOutDialog();

  void ShowFiles(const std::vector<LeftOutFile>& files);
  CaptionSetters Captions();

 private:
  QString ReasonText(LeftOutFile::Reason reason) const;

  QLabel* firstLine_;
  QListWidget* files_;
  QPushButton* ok_;
  QString formatReason_;
  QString nameReason_;
  QString notAFileReason_;
};
