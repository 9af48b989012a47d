#pragma once

#include "model/ChoiceLists.h"
#include "ui/CaptionTable.h"
#include "ui/Captions.h"
#include "ui/FieldBinding.h"

#include <QWidget>
#include <optional>

class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// Page 2: the track list and the release summary ("Pozostałe informacje").
class TracksPage : public QWidget {
  Q_OBJECT

 public:
  explicit TracksPage(QWidget* parent = nullptr);

  // The track list's rows, columns and their widths.
  void SetTrackModel(QAbstractItemModel* model);
  // The disc column is for the tracks of several discs only.
  void ShowDiscColumn(bool shown);
  // The item lists of the genre, ripper and drive drop-downs; their texts stay.
  void ShowChoices(const ChoiceLists& lists);
  // VariousAlbumTitle is editable exactly while VariousArtists is checked; with NMR checked, the
  // source, ripper and drive captions and controls are disabled.
  void FollowRules();
  bool NmrChecked() const;

  // The summary's controls and the fields they show.
  QList<FieldBinding> Bindings();
  CaptionSetters Captions();
  QList<CaptionOwner> CaptionOwners() const;
  QWidget* TrackList() const;

 signals:
  void NextRequested();
  // NMR was clicked: page 3 follows it.
  void NmrClicked(bool checked);

 private:
  QTableView* tracks_;
  QGroupBox* otherGroup_;
  QGridLayout* grid_;
  QCheckBox* variousArtists_;
  QLineEdit* variousAlbumTitle_;
  QCheckBox* nmr_;
  QComboBox* genre_;
  QComboBox* source_;
  QComboBox* ripperProgram_;
  QComboBox* drive_;
  QLabel* sourceLabel_;
  QLabel* ripperLabel_;
  QLabel* driveLabel_;
  QPushButton* next_;
  QList<FieldBinding> bindings_;
  CaptionSetters captions_;
};
