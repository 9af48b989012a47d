#pragma once

#include "analysis/ReleaseModel.h"
#include "ui/Captions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Page 3: the release information that the user enters.
class ReleasePage : public QWidget {
  Q_OBJECT

 public:
  explicit ReleasePage(QWidget* parent = nullptr);

  // The item lists of the server and group drop-downs; their texts stay.
  void ShowChoices(const ChoiceLists& lists);
  // The note is editable exactly while "Dołącz notatkę" is checked.
  void FollowIncludeNote();
  // With NMR checked, the ripped-by caption and control and the rip date's are disabled.
  void FollowNmr(bool nmr);

  QList<CaptionKey> CaptionKeys();
  QList<CaptionOwner> CaptionOwners() const;

  QGroupBox* InfoGroup;
  QLineEdit* RippedBy;
  QDateEdit* RipDate;
  QLineEdit* PostedBy;
  QDateEdit* PostDate;
  QComboBox* NewsServer;
  QComboBox* Group;
  QPushButton* AddGroup;
  QPushButton* RemoveGroup;
  QListWidget* SelectedGroups;
  QLabel* RippedByLabel;
  QLabel* RipDateLabel;
  QGroupBox* IncludeGroup;
  QCheckBox* IncludePar;
  QCheckBox* IncludePar2;
  QCheckBox* IncludeChecksums;
  QGroupBox* CoversGroup;
  QGroupBox* NoteGroup;
  QCheckBox* IncludeNote;
  QPlainTextEdit* NoteText;
  QGroupBox* NamesGroup;
  QLineEdit* FileNameTemplate;

 private:
  void AddSelectedGroup();
  void RemoveSelectedGroup();
  QWidget* NewInfoGroup();
  QWidget* NewIncludeGroup();
  QWidget* NewCoversGroup();
  QWidget* NewNoteGroup();
  QWidget* NewNamesGroup();

  QList<CaptionKey> keys_;
};
