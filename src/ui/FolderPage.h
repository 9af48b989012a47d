#pragma once

#include "session/ReleaseSession.h"
#include "ui/CaptionTable.h"
#include "ui/Captions.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

// Page 1: the folder, its audio files of the dominant format, and the progress of the passes.
class FolderPage : public QWidget {
  Q_OBJECT

 public:
  explicit FolderPage(QWidget* parent = nullptr);

  // The folder and the track list of a scan.
  void ShowScan(const ScanState& scan);
  // What the folder holds besides the audio, and what its rip logs say; hidden when nothing.
  void ShowExtras(const QStringList& lines);
  void SetNextEnabled(bool enabled);
  void SetBrowseEnabled(bool enabled);
  // The donation picture, a button with a hand cursor; without a picture it stays hidden.
  void ShowDonation(const QPixmap& picture);
  // The two status labels and the bar.
  void ShowProgress(const ProgressState& progress);
  void FocusBrowse();
  void FocusNext();

  CaptionSetters Captions();
  QList<CaptionOwner> CaptionOwners() const;

 signals:
  void BrowseRequested();
  void NextRequested();
  void DonationClicked();

 private:
  QGroupBox* driveGroup_;
  QLineEdit* folderPath_;
  QPushButton* browse_;
  QToolButton* donation_;
  QGroupBox* filesGroup_;
  QPlainTextEdit* trackList_;
  QPlainTextEdit* extras_;
  QLabel* fileLabel_;
  QLabel* checksumLabel_;
  QProgressBar* progress_;
  QPushButton* next_;
};
