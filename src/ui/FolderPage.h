#pragma once

#include "analysis/ReleaseModel.h"
#include "ui/Captions.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

// Page 1: the folder, its audio files of the dominant format, and the progress of the analysis.
class FolderPage : public QWidget {
  Q_OBJECT

 public:
  explicit FolderPage(QWidget* parent = nullptr);

  // The folder and the track list of a scan; "Dalej >" is enabled when there are tracks.
  void ShowScan(const ScanState& scan);
  // The donation picture, a button with a hand cursor; without a picture it stays hidden.
  void ShowDonation(const QPixmap& picture);
  // The two status labels and the bar: the checksum pass's, or percent during the track pass.
  void ShowProgress(const ProgressState& progress);
  void ShowProgress(const ProgressState& progress, int percent);

  QList<CaptionKey> CaptionKeys();
  QList<CaptionOwner> CaptionOwners() const;

  QGroupBox* DriveGroup;
  QLineEdit* FolderPath;
  QPushButton* Browse;
  // The donation picture at the right of the folder group.
  QToolButton* Donation;
  QGroupBox* FilesGroup;
  QPlainTextEdit* TrackList;
  QLabel* FileLabel;
  QLabel* ChecksumLabel;
  QProgressBar* Progress;
  QPushButton* Next;
};
