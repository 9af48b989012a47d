#pragma once

#include "ui/CaptionTable.h"
#include "ui/SecondaryWindow.h"

#include <QImage>

class QLabel;
class QPushButton;
class QScrollArea;

// A track's spectrogram at its full size, from the quality page.
class SpectrogramWindow : public SecondaryWindow {
  Q_OBJECT

 public:
  SpectrogramWindow();

  void SetPicture(const QImage& picture);
  CaptionSetters Captions();

 private:
  QScrollArea* scroll_;
  QLabel* picture_;
  QPushButton* ok_;
};
