#pragma once

#include "ui/CaptionTable.h"

#include <QImage>
#include <QWidget>

class QAbstractItemModel;
class QPushButton;
class QTableView;
class QToolButton;

// The quality page, shown once the audio pass has run: the table of the tracks' dynamic range,
// loudness, gain, cut-off and signals with the album's row, and below it the selected track's
// spectrogram (activate it to see it whole), and the command that saves every track's picture.
class QualityPage : public QWidget {
  Q_OBJECT

 public:
  explicit QualityPage(QWidget* parent = nullptr);

  void SetModel(QAbstractItemModel* model);
  // The picture of the selected track; a null image shows none.
  void ShowSpectrogram(const QImage& picture);
  const QImage& Spectrogram() const { return picture_; }
  void SetSaveEnabled(bool enabled);
  CaptionSetters Captions();

 signals:
  void RowSelected(int row);
  void EnlargeRequested();
  void SaveSpectrogramsRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ScalePicture();

  QTableView* table_;
  QToolButton* pictureButton_;
  QPushButton* save_;
  QImage picture_;
};
