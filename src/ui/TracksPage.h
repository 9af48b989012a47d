#pragma once

#include "analysis/ReleaseModel.h"
#include "ui/Captions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Page 2: the track list and the release summary ("Pozostałe informacje").
class TracksPage : public QWidget {
  Q_OBJECT

 public:
  explicit TracksPage(QWidget* parent = nullptr);

  void ShowTracks(const std::vector<TrackRecord>& tracks);
  // The item lists of the genre, ripper and drive drop-downs; their texts stay.
  void ShowChoices(const ChoiceLists& lists);
  // VariousAlbumTitle is editable exactly while VariousArtists is checked.
  void FollowVariousArtists();
  // With NMR checked, the source, ripper and drive captions and controls are disabled.
  void FollowNmr();

  QList<CaptionKey> CaptionKeys();
  QList<CaptionOwner> CaptionOwners() const;

  QTableWidget* Tracks;
  QGroupBox* OtherGroup;
  QCheckBox* VariousArtists;
  QLineEdit* VariousAlbumTitle;
  QCheckBox* Nmr;
  QComboBox* Genre;
  QComboBox* Source;
  QComboBox* RipperProgram;
  QComboBox* Drive;
  QLabel* SourceLabel;
  QLabel* RipperLabel;
  QLabel* DriveLabel;
  QPushButton* Next;

 private:
  // The summary fields with their designed captions and language keys, in page order.
  struct SummaryRow {
    QLabel* Label;
    const char* Key;
  };
  QList<SummaryRow> rows_;
};
