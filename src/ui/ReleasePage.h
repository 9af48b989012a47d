#pragma once

#include "model/ChoiceLists.h"
#include "ui/CaptionTable.h"
#include "ui/Captions.h"
#include "ui/FieldBinding.h"

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
  // "Sumy kontrolne" can be ticked only while checksums are computed.
  void SetChecksumsAvailable(bool available);

  QList<FieldBinding> Bindings();
  CaptionSetters Captions();
  CaptionSetters LegendCaptions();
  QList<CaptionOwner> CaptionOwners() const;

 private:
  void AddSelectedGroup();
  void RemoveSelectedGroup();
  QWidget* NewInfoGroup();
  QWidget* NewIncludeGroup();
  QWidget* NewCoversGroup();
  QWidget* NewNoteGroup();
  QWidget* NewNamesGroup();
  QLabel* Label(const char* name, const QString& caption, Caption captionId, QWidget* buddy,
                QWidget* parent);

  QLineEdit* rippedBy_;
  QDateEdit* ripDate_;
  QLineEdit* postedBy_;
  QComboBox* newsServer_;
  QComboBox* group_;
  QPushButton* addGroup_;
  QPushButton* removeGroup_;
  QListWidget* selectedGroups_;
  QLabel* rippedByLabel_;
  QLabel* ripDateLabel_;
  QCheckBox* includePar_;
  QCheckBox* includePar2_;
  QCheckBox* includeChecksums_;
  QGroupBox* noteGroup_;
  QCheckBox* includeNote_;
  QPlainTextEdit* noteText_;
  QList<FieldBinding> bindings_;
  CaptionSetters captions_;
  CaptionSetters legends_;
};
